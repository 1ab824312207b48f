// What the Win32 tests share: a top-level window of a test class of their
// own, the messages waiting for this thread, and a window's client area as
// the window paints it.
#pragma once

#include <windows.h>

#include "gdi_surface.h"

// A window of the class `name`, registered with `proc` on first use.
inline HWND MakeTestWindow(const wchar_t *name, WNDPROC proc, DWORD style, int x, int y, int width, int height) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = name;
  RegisterClassW(&wc);  // refused, harmlessly, once the class is there
  return CreateWindowExW(0, name, L"", style, x, y, width, height, nullptr, nullptr, wc.hInstance, nullptr);
}

// Dispatches the messages waiting for this thread.
inline void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// Dispatches messages as they come while `going` holds, for at most `ms`.
template <typename Condition>
void PumpWhile(Condition going, DWORD ms) {
  const DWORD start = GetTickCount();
  while (going() && GetTickCount() - start < ms) {
    Pump();
    Sleep(5);
  }
}

// The window's client area as it paints it into an image of ours.
struct PrintedWindow : GdiSurface {
  explicit PrintedWindow(HWND hwnd) {
    RECT client = {};
    GetClientRect(hwnd, &client);
    Resize(client.right, client.bottom);
    Clear(Rgb(255, 255, 255));
    SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(Dc()), PRF_CLIENT);
    GdiFlush();
  }
  Colour At(int x, int y) const { return GetPixel(x, y); }
};
