// The push button as a Win32 child window: a retained GDI image shown by
// WM_PAINT, window messages turned into the button's inputs, and the message
// hook on its own window and on its container's.
//
// Use: construct with the form's ControlSite, Create it inside the form's
// window, handle OnClick. At run time pass the stored properties (an empty
// bag gives the defaults): only a loaded button hooks its windows, and
// without the hook it never sees its container become active, so a mouse
// release would never click. The site's ContainerWindow() must be the
// window that receives the activation messages (the form's top-level
// window), not an inner frame. Create with nullptr is the designer's new
// instance.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "gdi_surface.h"
#include "message_hook_win32.h"
#include "window_bridge_win32.h"
#include "xp_button.h"

class XpButtonWindow : private ButtonWindow, private HookClient {
 public:
  explicit XpButtonWindow(ControlSite &site);
  ~XpButtonWindow() override;
  XpButtonWindow(const XpButtonWindow &) = delete;
  XpButtonWindow &operator=(const XpButtonWindow &) = delete;

  // Creates the window (WS_CHILD | WS_VISIBLE | WS_TABSTOP) at (x, y) in the
  // parent's client area, sizes in pixels. nullptr for `stored` makes a new
  // instance. Returns nullptr when the window cannot be made.
  HWND Create(HWND parent, int x, int y, int width, int height, const PropertyBag *stored);
  // Unhooks the button's own window, then the container's, and destroys the
  // window. The destructor does the same.
  void End();

  // The button itself: its properties and state. Valid while Hwnd() is.
  XpButton &Control() { return *button_; }
  HWND Hwnd() const { return hwnd_; }
  const Surface &RetainedImage() const { return image_; }

  // Container services the form calls; a button whose window could not be
  // made ignores them.
  void AmbientChanged(const std::wstring &name) {
    if (button_) button_->OnAmbientChanged(name);
  }
  void AccessKeyPressed() {
    if (button_) button_->OnAccessKey();
  }
  void Save(PropertyBag &bag) const {
    if (button_) button_->Save(bag);
  }
  void SetEnabled(bool enabled) {
    if (button_) button_->SetEnabled(enabled);
  }

  std::function<void()> OnClick, OnDblClick;
  std::function<void(int button, int shift, float x, float y)> OnMouseMove;
  std::function<void(int state)> OnFormActivate;

 private:
  template <typename T>
  friend LRESULT CALLBACK formkit::BridgeProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // The button is made as its window is, so the sizing messages of creation reach it.
  void Bind(HWND hwnd);
  void Sized(int width, int height);

  // ButtonWindow
  std::uintptr_t Handle() const override { return reinterpret_cast<std::uintptr_t>(hwnd_); }
  Surface &Image() override { return image_; }
  void SetPixelSize(int width, int height) override;
  void SetShape(int width, int height) override;
  void EnableInput(bool enabled) override;
  void TrackMouseLeave() override;
  void ClientOriginOnScreen(int &x, int &y) override;
  void MoveMouseTo(int x, int y) override;

  // HookClient: the hook reaches the button through its window.
  void zSubclass_Proc(bool bBefore, bool &bHandled, std::intptr_t &lReturn, std::uintptr_t &lng_hWnd,
                      std::uint32_t &uMsg, std::uintptr_t &wParam, std::intptr_t &lParam) override;

  ControlSite &site_;
  GdiSurface image_;
  MessageHook hook_;
  std::unique_ptr<XpButton> button_;
  HWND hwnd_ = nullptr;
  int clientWidth_ = -1, clientHeight_ = -1;
  bool ended_ = false;
};
