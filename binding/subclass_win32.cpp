// Windows bound by Attach: a comctl32 subclass per object. comctl32 keeps
// every window's subclasses in one list, so objects attached to one window
// can let go in any order without leaving a removed procedure in the chain.
#include "window_win32.h"

#include <commctrl.h>  // after windows.h, which it needs

#include "report_failure_win32.h"

namespace binding {

const Window::Binding Window::kSubclass = {DefSubclassProc, LetGoOfSubclass};

bool Window::Attach(HWND window, Ownership ownership) {
  if (hwnd_ || !IsWindow(window)) return false;
  // The object is both the subclass's id and its data.
  const auto self = reinterpret_cast<UINT_PTR>(this);
  if (!SetWindowSubclass(window, SubclassProcedure, self, self)) {
    ReportFailure("attaching to a window");
    return false;
  }
  Bind(window, kSubclass, ownership == Ownership::Own);
  return true;
}

LRESULT CALLBACK Window::SubclassProcedure(HWND, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR self) {
  return Deliver(reinterpret_cast<Window *>(self), message, wParam, lParam);
}

void Window::LetGoOfSubclass(HWND hwnd, Window *self) {
  RemoveWindowSubclass(hwnd, SubclassProcedure, reinterpret_cast<UINT_PTR>(self));
}

}  // namespace binding
