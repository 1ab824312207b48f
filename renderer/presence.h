// Whether anybody can see the renderer's window, from what the system says
// about the display, the session and the window. Nothing is drawn while
// nobody can: the renderer rests on its message queue until that changes.
// The messages' raw values are passed in; the window glue only forwards them.
#pragma once

#include "display_state.h"

namespace system_value {
// Session change codes.
constexpr unsigned kConsoleConnect = 0x1;
constexpr unsigned kConsoleDisconnect = 0x2;
constexpr unsigned kRemoteConnect = 0x3;
constexpr unsigned kRemoteDisconnect = 0x4;
constexpr unsigned kSessionLock = 0x7;
constexpr unsigned kSessionUnlock = 0x8;
}  // namespace system_value

struct Presence {
  DisplayState display;
  bool locked = false;
  bool disconnected = false;  // from the console, or a remote session
  bool minimised = false;
  bool hasArea = true;        // a client area of at least one pixel

  // A session change; codes that say nothing about being seen are ignored.
  void SessionChange(unsigned code);
  // The window's new size, and whether it is minimised.
  void Size(int width, int height, bool iconic);

  bool ShouldDraw() const { return !display.Off() && !locked && !disconnected && !minimised && hasArea; }
};
