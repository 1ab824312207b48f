// How big the renderer's window is, from what the settings file holds: the
// renderer opens it so, and the screensaver program covers what it leaves
// of the screen.
#pragma once

#include <string_view>

#include "profile_int.h"

constexpr int kDefaultWindowWidth = 1024;
constexpr int kDefaultWindowHeight = 768;

struct WindowSize {
  int width, height;
};

// One side as the settings file asks for it, from the key's text as the
// profile functions read it: the number the profile reader makes of it
// (ProfileIntOf), `fallback` for a missing key, taken as signed, so that a
// stored 4294967295 or -1 is -1. Not yet fitted (FitWindowSide): a stored 0
// is 0 here.
int StoredWindowSide(std::string_view text, int fallback);
int StoredWindowSide(std::wstring_view text, int fallback);

// One side of the window. A stored value of 0 or less (a key of 0, or a
// number the profile reader wrapped past the signed range) takes `fallback`.
// The result never exceeds the screen, since a window larger than the
// desktop only costs memory, nor what the GL context can draw into. A
// limit of 0 or less is not known yet and cuts nothing.
int FitWindowSide(int stored, int fallback, int screenLimit, int glLimit);
