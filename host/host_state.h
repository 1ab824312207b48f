// What one start of the screensaver program keeps: Main makes it and hands
// it to the window of the mode it starts.
#pragma once

#include <cstdint>

#include "settings.h"

// The music choice, loaded once per start, is its first part.
struct HostState : MusicSettings {
  // Whether this start hid the cursor for its full-screen run: only the
  // letter S does, an empty argument text leaves the cursor visible. The end
  // of the run shows it again, and the black covers hide it as well.
  bool CursorHidden = false;
  int SavedCursorCount = 0;      // from hiding the cursor for a full-screen run
  std::int16_t ZoomOriginX = 0;  // where the settings dialog zooms from and to
  std::int16_t ZoomOriginY = 0;
};
