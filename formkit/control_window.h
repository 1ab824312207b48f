// What a custom control asks of its own window: the retained image it paints
// on, the window's size, shape and input, and the mouse pointer. The form kit
// implements it on a real window (control_window_win32.h); tests implement it
// in memory.
#pragma once

#include <cstdint>

#include "surface.h"

class ControlWindow {
 public:
  virtual ~ControlWindow() = default;
  // The window's handle as a number; 0 before the window exists and once it
  // has gone.
  virtual std::uintptr_t Handle() const = 0;
  // The retained image, always as large as the window's inside.
  virtual Surface &Image() = 0;
  // Changes the window's size; the image follows it.
  virtual void SetPixelSize(int width, int height) = 0;
  // Cuts the window to a rectangle from (0, 0) to (width, height) whose
  // corners are quarters of an ellipse `ellipse` pixels wide and high, and has
  // it redrawn.
  virtual void SetRoundedShape(int width, int height, int ellipse) = 0;
  virtual void EnableInput(bool enabled) = 0;
  // Asks for one notification when the pointer leaves the window; failures
  // are ignored.
  virtual void TrackMouseLeave() = 0;
  virtual void ClientOriginOnScreen(int &x, int &y) = 0;
  virtual void MoveMouseTo(int x, int y) = 0;
};
