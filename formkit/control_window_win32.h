// The window of a custom control: a child window that shows the control's
// retained image for every paint request and never paints otherwise, keeps
// the image as large as its inside, and passes the notifications of the
// controls placed inside it up to its own parent, where the form handles
// them as if it were not there. What the control asks of its window
// (ControlWindow) it does on this window.
#pragma once

#include <windows.h>

#include <string>

#include "accessible_win32.h"
#include "control_window.h"
#include "gdi_surface.h"
#include "painted_control.h"
#include "window_win32.h"

namespace formkit {

class CustomControlWindow : public binding::Window, public ControlWindow {
 public:
  const Surface &RetainedImage() const { return image_; }

  // The form's calls, passed on to the control while it has its window; a
  // control without one (not made, or gone) ignores them.
  void AmbientChanged(const std::wstring &name) {
    if (PaintedControl *control = Painted()) control->AmbientChanged(name);
  }
  void ColoursChanged() {
    if (PaintedControl *control = Painted()) control->Repaint();
  }
  void Save(PropertyBag &bag) {
    if (PaintedControl *control = Painted()) control->WriteProperties(bag);
  }

  std::uintptr_t Handle() const override { return reinterpret_cast<std::uintptr_t>(Hwnd()); }
  Surface &Image() override { return image_; }
  void SetPixelSize(int width, int height) override;
  void SetRoundedShape(int width, int height, int ellipse) override;
  void EnableInput(bool enabled) override;
  void TrackMouseLeave() override;
  void ClientOriginOnScreen(int &x, int &y) override;
  void MoveMouseTo(int x, int y) override;

 protected:
  CustomControlWindow();
  // The control this window shows, while the window exists.
  virtual PaintedControl *Painted() = 0;
  // Gives the control its stored properties at its creation; without any it
  // starts as a new instance, with the defaults.
  void Load(const PropertyBag *stored);
  // Gives the image a size before the window exists and sizes it.
  void SizeImage(int width, int height) { image_.Resize(width, height); }
  // After every size message, once the image has the new size; `newSize`
  // says whether the size differs from the one the last message gave.
  virtual void Sized(bool newSize) = 0;
  // Every message but painting, sizing and the children's notifications.
  virtual LRESULT ControlMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) final;

  GdiSurface image_;
  AccessibleParts accessible_;  // the control's own facts, for screen readers
  int clientWidth_ = -1, clientHeight_ = -1;  // as the last size message gave them
};

}  // namespace formkit
