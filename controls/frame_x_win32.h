// The framed panel as a Win32 child window. The window owns the panel's
// retained image and repaints it only through the panel's own triggers;
// WM_PAINT (and WM_PRINTCLIENT) merely copy the image out.
//
// Other controls of the form are placed inside it as child windows, so it
// passes their notifications (commands, colour queries, owner drawing) on to
// its own parent, where the form handles them as if the panel were not there.
#pragma once

#include <windows.h>

#include <memory>

#include "control_site.h"
#include "frame_x.h"
#include "gdi_surface.h"
#include "window_bridge_win32.h"

class GfxFrameXWindow {
 public:
  explicit GfxFrameXWindow(ControlSite &site);
  ~GfxFrameXWindow();
  GfxFrameXWindow(const GfxFrameXWindow &) = delete;
  GfxFrameXWindow &operator=(const GfxFrameXWindow &) = delete;

  // Makes the window at a position and size in pixels of `parent`'s client
  // area. Without stored properties the panel starts as a new instance.
  // Returns the window, or nullptr when it could not be made.
  HWND Create(HWND parent, int x, int y, int width, int height, const PropertyBag *stored);

  // The container's ambient values changed (its background colour above all).
  void AmbientChanged();
  // The panel and its image live from Create until the window is destroyed:
  // valid while Hwnd() is.
  GfxFrameX &Control();
  HWND Hwnd() const { return hwnd_; }
  void Save(PropertyBag &bag);

 private:
  template <typename T>
  friend LRESULT CALLBACK formkit::BridgeProc(HWND, UINT, WPARAM, LPARAM);
  void Bind(HWND hwnd) { hwnd_ = hwnd; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void SizeImageToClient();

  ControlSite &site_;
  HWND hwnd_ = nullptr;
  const PropertyBag *stored_ = nullptr;  // only during Create
  std::unique_ptr<GdiSurface> image_;
  std::unique_ptr<GfxFrameX> control_;
};
