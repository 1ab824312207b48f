// The screensaver program's state and the windows that share it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "settings.h"

// What one start of the program keeps: Main makes it and hands it to the
// window of the mode it starts. The music choice, loaded once per start, is
// its first part.
struct HostState : MusicSettings {
  int SavedCursorCount = 0;      // from hiding the cursor for a full-screen run
  std::int16_t ZoomOriginX = 0;  // where the settings dialog zooms from and to
  std::int16_t ZoomOriginY = 0;
};

void ZoomFromPoint(HWND hwnd, const std::int16_t &x, const std::int16_t &y);
void ZoomToPoint(HWND hwnd, const std::int16_t &x, const std::int16_t &y);

// The preview in the display settings' pane (argument text "/p HANDLE").
void ShowPreview(const std::wstring &argumentText);

// The window that the 32 significant bits of a handle name.
HWND WindowOfHandleBits(std::uint32_t bits);
// Whether that window may hold the preview; if not, the program ends.
bool CanHoldPreview(HWND pane);

// Loads the hidden window of a full-screen run, which starts the renderer
// and the music and ends the program once the renderer has gone.
void LoadFullScreenRun(HostState &state);
