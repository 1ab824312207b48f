// Module state of the screensaver program, shared by its windows.
#pragma once

#include <windows.h>

#include <cstdint>

#include "settings.h"

extern MusicSettings Music;           // loaded once per start
extern int SavedCursorCount;          // from hiding the cursor for a full-screen run
extern std::int16_t ZoomOriginX;      // where the settings dialog zooms from and to
extern std::int16_t ZoomOriginY;

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
void LoadFullScreenRun();
