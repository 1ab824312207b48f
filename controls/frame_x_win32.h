// The framed panel as a Win32 child window. The window owns the panel's
// retained image and repaints it only through the panel's own triggers;
// paint requests merely copy the image out.
//
// Other controls of the form are placed inside it as child windows; the
// window passes their notifications on to its own parent.
#pragma once

#include <windows.h>

#include <memory>

#include "control_site.h"
#include "control_window_win32.h"
#include "frame_x.h"

class GfxFrameXWindow : public formkit::CustomControlWindow {
 public:
  explicit GfxFrameXWindow(ControlSite &site) : site_(site) {}
  ~GfxFrameXWindow() override;

  // Makes the window at a position and size in pixels of `parent`'s client
  // area. Without stored properties the panel starts as a new instance.
  // Returns the window, or nullptr when it could not be made (reported).
  [[nodiscard]] HWND Create(HWND parent, int x, int y, int width, int height, const PropertyBag *stored);

  // The panel lives from Create until the window is destroyed: valid while
  // Hwnd() is.
  GfxFrameX &Control();

 private:
  PaintedControl *Painted() override { return control_.get(); }
  void Sized(bool newSize) override;
  LRESULT ControlMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  ControlSite &site_;
  std::unique_ptr<GfxFrameX> control_;
};
