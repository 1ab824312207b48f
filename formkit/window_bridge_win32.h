// How the program's own windows reach the C++ objects behind them, written
// once for every kind: forms, group frames, picture boxes and the custom
// controls' windows all derive from Window.
//
// The object is the creation parameter of its window. At WM_NCCREATE, before
// any other message reaches it, BridgeProc keeps it with the window and gives
// it its handle; every message then goes to its HandleMessage. At
// WM_NCDESTROY, once the object has handled it, BridgeProc forgets the object
// and clears its handle, so Hwnd() is empty from then on. An object that goes
// before its window unbinds and destroys it on its way out (~Window): the
// window never reaches a half-destroyed object.
#pragma once

#include <windows.h>

namespace formkit {

// Notifications that a windowed control sends its parent window and that
// belong to the form: a window standing in between passes them up.
bool IsChildNotification(UINT message);

class Window {
 public:
  Window(const Window &) = delete;
  Window &operator=(const Window &) = delete;

  // Empty before the window is made and once it has gone.
  HWND Hwnd() const { return hwnd_; }

 protected:
  Window() = default;
  virtual ~Window();

  // Makes this object's window, of a class of this program that is
  // registered the first time it is asked for (no background brush: the
  // program's windows paint every pixel). False when the class or the window
  // cannot be made; the failure is reported.
  [[nodiscard]] bool CreateBound(const wchar_t *className, UINT classStyle, DWORD exStyle, DWORD style, int x,
                                 int y, int width, int height, HWND parent);

  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
  }

 private:
  friend LRESULT CALLBACK BridgeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
};

// The window procedure of every class CreateBound registers.
LRESULT CALLBACK BridgeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace formkit
