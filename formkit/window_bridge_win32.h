// How the program's own windows reach the C++ objects behind them, written
// once for every kind: forms, group frames, picture boxes and the custom
// controls.
//
// The object is the creation parameter of its window. At WM_NCCREATE, before
// any other message reaches it, the bridge keeps it with the window and calls
// its Bind(hwnd); every message then goes to its HandleMessage. After
// WM_NCDESTROY, or once Unbind has run (an object that goes before its
// window), the window no longer knows it and falls back to DefWindowProc.
#pragma once

#include <windows.h>

namespace formkit {

// Registers a window class of this program the first time it is asked for.
// No background brush: the program's windows paint every pixel.
bool RegisterWindowClass(const wchar_t *name, WNDPROC proc, UINT style = CS_DBLCLKS);

// Notifications that a windowed control sends its parent window and that
// belong to the form: a window standing in between passes them up.
bool IsChildNotification(UINT message);

inline void Unbind(HWND hwnd) { SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0); }

template <typename T>
LRESULT CALLBACK BridgeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  T *self;
  if (message == WM_NCCREATE) {
    self = static_cast<T *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    if (self) self->Bind(hwnd);
  } else {
    self = reinterpret_cast<T *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  const LRESULT result = self->HandleMessage(message, wParam, lParam);
  if (message == WM_NCDESTROY) Unbind(hwnd);
  return result;
}

}  // namespace formkit
