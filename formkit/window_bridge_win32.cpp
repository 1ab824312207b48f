#include "window_bridge_win32.h"

#include <string>

#include "report_failure_win32.h"

namespace formkit {

namespace {

bool RegisterBridgeClass(HINSTANCE instance, const wchar_t *name, UINT style) {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(instance, name, &wc)) return true;
  wc = {};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = BridgeProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) != 0;
}

// The program's class names are ASCII; no conversion call may change the
// last error before it is reported.
std::string Narrow(const wchar_t *name) {
  std::string text;
  for (; *name; ++name) text += static_cast<char>(*name);
  return text;
}

}  // namespace

LRESULT CALLBACK BridgeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window *self;
  if (message == WM_NCCREATE) {
    self = static_cast<Window *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    if (self) self->hwnd_ = hwnd;
  } else {
    self = reinterpret_cast<Window *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  const LRESULT result = self->HandleMessage(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

Window::~Window() {
  if (!hwnd_) return;
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  DestroyWindow(hwnd_);
}

bool Window::CreateBound(const wchar_t *className, UINT classStyle, DWORD exStyle, DWORD style, int x, int y,
                         int width, int height, HWND parent) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!RegisterBridgeClass(instance, className, classStyle)) {
    ReportFailure("registering the window class " + Narrow(className));
    return false;
  }
  if (!CreateWindowExW(exStyle, className, L"", style, x, y, width, height, parent, nullptr, instance, this)) {
    ReportFailure("creating a window of class " + Narrow(className));
    return false;
  }
  return true;
}

bool IsChildNotification(UINT message) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      return true;
    default:
      return false;
  }
}

}  // namespace formkit
