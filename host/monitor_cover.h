// Which parts of the desktop a full-screen run covers in black: whatever of
// a monitor the renderer's window leaves open. With a window that fills the
// primary monitor that is every other monitor; with a smaller one, as a
// settings file that the run could not write may ask for, the rest of the
// primary too. A monitor that shares part of the window's area is covered
// only outside it, so that no cover hides the clouds; one that lies wholly
// within the window, or repeats another monitor's area (mirrored screens),
// adds nothing.
#pragma once

#include <vector>

#include "screen_rect.h"
#include "window_size.h"

// The rectangles to cover, in the order of the monitors, from the list of
// monitors, the primary screen's rectangle (covered whether it is listed or
// not) and the renderer's window. Empty monitors are skipped.
std::vector<ScreenRect> CoverRects(const std::vector<ScreenRect> &monitors, const ScreenRect &primary,
                                   const ScreenRect &window);

// Where the renderer opens its window for the size the settings file asks
// for: at the primary's top left, defaulted and cut to the desktop as the
// renderer does before its GL context can cut it further.
ScreenRect RendererWindowRect(WindowSize stored, long desktopWidth, long desktopHeight);
