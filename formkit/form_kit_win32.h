// A small form toolkit on plain Win32 for the program's windows.
//
// A Form is a top-level window (borderless unless its style asks for a
// caption or frame) with load, query-unload and unload handlers, a caption,
// a background colour, a position in twips, and controls. Lightweight
// controls (labels, images) have no window: the container they sit on paints
// them and hands them their mouse input. Windowed controls (group frames,
// picture boxes, combo boxes, custom controls) are child windows. Timers tick
// on the form's window, also while it is hidden. The program lives while any
// form is loaded; App::End stops it at once, without running any handler.
#pragma once

#include "app_win32.h"
#include "form_control_site_win32.h"
#include "form_win32.h"
#include "lightweight_controls_win32.h"
#include "windowed_controls_win32.h"
