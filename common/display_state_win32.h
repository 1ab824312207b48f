// How a window hears of the display state: the console's display-state power
// setting, or monitor power where the system does not know that one, and the
// monitor-power command. Both programs listen the same way.
#pragma once

#include <windows.h>

#include "display_state.h"

// Registers the window for the display-state setting and notes it in
// `state`; null when the system would not register it.
HPOWERNOTIFY ListenForDisplayState(HWND window, DisplayState &state);
void StopListeningForDisplayState(HPOWERNOTIFY notify);

// Feeds a window message to `state`: a display-state setting
// (WM_POWERBROADCAST) or a monitor-power command (WM_SYSCOMMAND). True when
// the message was a display-state setting, which the window answers with
// TRUE; a system command still goes on to the default handling.
bool NoteDisplayMessage(DisplayState &state, UINT message, WPARAM wParam, LPARAM lParam);
