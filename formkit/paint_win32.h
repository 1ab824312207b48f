// Painting shared by the program's windows that draw all of themselves.
#pragma once

#include <windows.h>

// Windows that paint every pixel: the background is not erased first, and a
// paint request and a print request into another device context draw the
// same way. True when the message was one of these three.
template <typename Paint>
bool HandleOwnPaint(HWND hwnd, UINT message, WPARAM wParam, Paint paint, LRESULT &result) {
  switch (message) {
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      paint(dc);
      EndPaint(hwnd, &ps);
      result = 0;
      return true;
    }
    case WM_PRINTCLIENT:
      paint(reinterpret_cast<HDC>(wParam));
      result = 0;
      return true;
    default:
      return false;
  }
}

// Fills a window's whole client area with one colour.
inline void FillClient(HWND hwnd, HDC dc, COLORREF colour) {
  RECT client;
  GetClientRect(hwnd, &client);
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &client, brush);
  DeleteObject(brush);
}
