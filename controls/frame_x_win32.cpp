#include "frame_x_win32.h"

#include "shared_names.h"

namespace {

const binding::WindowClass kFrameClass = {BRUMALIS_PANEL_CLASS};

}  // namespace

GfxFrameXWindow::~GfxFrameXWindow() {
  // Destroyed while this object still handles its messages, so the panel
  // goes with the window as it does when the form destroys it.
  Release();
}

HWND GfxFrameXWindow::Create(HWND parent, int x, int y, int width, int height, const PropertyBag *stored) {
  if (Hwnd()) return Hwnd();
  // Made before the window, because creating the window already sizes it.
  control_ = std::make_unique<GfxFrameX>(site_, Image(), [this] {
    if (Hwnd()) InvalidateRect(Hwnd(), nullptr, FALSE);
  });
  // The panel paints only its image, so it is loaded before the window, on
  // an image as large as the window's borderless inside: the window's first
  // size message finds it painted.
  SizeImage(width, height);
  Load(stored);
  if (!CreateBound(kFrameClass, WS_EX_CONTROLPARENT, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, "", x, y,
                   width, height, parent))
    control_.reset();
  return Hwnd();
}

GfxFrameX &GfxFrameXWindow::Control() { return *control_; }

void GfxFrameXWindow::Sized(bool) { control_->Resize(); }

LRESULT GfxFrameXWindow::ControlMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCDESTROY:
      // Children are gone by now; the panel goes with its window, so no
      // repaint of it reaches the window afterwards.
      control_.reset();
      break;
    default:
      break;
  }
  return DefaultHandling(message, wParam, lParam);
}
