// The renderer program: one borderless popup at the top left with an OpenGL
// context on its own DC, drawing the sky until Escape.
#pragma once

#include <windows.h>

// Paced frames follow the display; free-running frames come as fast as the
// loop turns, for the frame-rate benchmark to compare with.
enum class FramePacing { ToDisplay, FreeRun };

// The whole program, from the window size to the end of the message loop;
// returns the exit code.
int RunRenderer(FramePacing pacing);
