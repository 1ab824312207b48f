// State shared by the renderer's window glue and its scene drawing.
#pragma once

#include "sky_scene.h"

extern float ElapsedSeconds;     // seconds since the start count; 0 until the first frame
extern int WindowWidth;          // client size, from the settings then from WM_SIZE
extern int WindowHeight;
extern bool BrightFog;           // toggled by Space
extern FpsTitle FrameRateTitle;  // frame counter and title pacing

void UpdateFpsTitle();
bool InitScene();
// The viewport follows the window; the projection keeps the start-up aspect.
void ResizeScene(int width, int height);
void RenderFrame();
// The largest viewport the current context draws into; 0 where it says nothing.
void MaxViewportSize(int *width, int *height);
