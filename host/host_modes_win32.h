// The windows of the screensaver program's modes, which Main starts with the
// state it keeps (host_state.h), and the zoom the settings dialog plays.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "host_state.h"

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
