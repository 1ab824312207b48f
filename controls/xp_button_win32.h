// The push button as a Win32 child window: its window's messages become the
// button's inputs, the window shows the button's retained image, and the
// button is the client of the message hook on its own window and on its
// container's.
//
// Use: construct with the form's ControlSite, Create it inside the form's
// window, handle the button's events (Control().Click). At run time pass the
// stored properties (an empty bag gives the defaults): only a loaded button
// hooks its windows, and without the hook it never sees its container
// become active, so a mouse release would never click. The site's
// ContainerWindow() must be the window that receives the activation
// messages (the form's top-level window), not an inner frame. Create with
// nullptr is the designer's new instance.
#pragma once

#include <windows.h>

#include <string>

#include "control_window_win32.h"
#include "message_hook_win32.h"
#include "xp_button.h"

class XpButtonWindow : public formkit::CustomControlWindow {
 public:
  explicit XpButtonWindow(ControlSite &site);
  ~XpButtonWindow() override;

  // Creates the window (WS_CHILD | WS_VISIBLE | WS_TABSTOP) at (x, y) in the
  // parent's client area, sizes in pixels. nullptr for `stored` makes a new
  // instance. Returns nullptr when the window cannot be made (reported).
  [[nodiscard]] HWND Create(HWND parent, int x, int y, int width, int height, const PropertyBag *stored);
  // Unhooks the button's own window, then the container's, and destroys the
  // window. The destructor does the same.
  void End();

  // The button itself: its properties, state and events.
  XpButton &Control() { return button_; }

  // Container services the form calls besides those of every painted
  // control; a button without its window (not made, or gone) ignores them.
  void AccessKeyPressed() {
    if (Hwnd()) button_.OnAccessKey();
  }
  void SetEnabled(bool enabled) {
    if (Hwnd()) button_.SetEnabled(enabled);
  }

 private:
  PaintedControl *Painted() override { return Hwnd() ? &button_ : nullptr; }
  void Sized(bool newSize) override;
  LRESULT ControlMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  // The button is made with the hook, and then becomes its client.
  MessageHook hook_;
  XpButton button_;
};
