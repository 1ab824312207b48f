// How big the renderer's window may be, from what the settings file holds.
#pragma once

constexpr int kDefaultWindowWidth = 1024;
constexpr int kDefaultWindowHeight = 768;

// One side of the window. A stored value of 0 or less (a missing key, or a
// number the profile reader wrapped past the signed range) takes `fallback`.
// The result never exceeds the screen, since a window larger than the
// desktop only costs memory, nor what the GL context can draw into. A
// limit of 0 or less is not known yet and cuts nothing.
int FitWindowSide(int stored, int fallback, int screenLimit, int glLimit);
