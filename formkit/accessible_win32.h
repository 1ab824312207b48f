// What screen readers are told about the controls this program paints itself:
// a window answers WM_GETOBJECT with an object that describes it (part 0)
// and the windowless controls painted on it (parts 1 to n), through the
// system's accessibility interface. Controls the system makes (a combo box)
// keep the system's own object.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "accessible_facts.h"

namespace formkit {

class AccessibleParts {
 public:
  AccessibleParts();
  ~AccessibleParts();
  AccessibleParts(const AccessibleParts &) = delete;
  AccessibleParts &operator=(const AccessibleParts &) = delete;

  std::function<int()> count;  // the windowless parts; none unless told
  std::function<AccessibleFacts(int part)> facts;
  std::function<void(int part)> doDefault;
  std::function<int()> focusedPart;  // while the window has the focus; 0 unless told
  // The window's child windows are its children to readers (a container's
  // controls); otherwise only the parts are.
  bool childWindows = false;

  // For the window's WM_GETOBJECT: true, with the result to return, when the
  // client area's object was asked for.
  bool Answer(HWND hwnd, WPARAM wParam, LPARAM lParam, LRESULT &result);

 private:
  // The objects handed out hold this, and do nothing once the parts are gone.
  std::shared_ptr<AccessibleParts *> self_;
};

// A rectangle in screen pixels as the facts give it.
inline Box ScreenBox(const RECT &r) { return {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right), static_cast<int>(r.bottom)}; }
// Where a window is on screen.
Box WindowOnScreen(HWND hwnd);

// Tells the readers that a part's name, state or focus changed.
void NotifyPart(DWORD event, HWND hwnd, int part);

}  // namespace formkit
