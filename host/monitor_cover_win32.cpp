// Black windows over every monitor but the primary one during a full-screen
// run. They are top-most and never take the focus, so the renderer keeps the
// keyboard and Escape still ends the run; they go with the program at the
// end of the run. The pointer over them is hidden as the run hid it: not at
// all in a run started without arguments.
//
// A cover has no object behind it, nothing of its own to keep and nothing
// that destroys it before the program ends, so it has a plain window
// procedure rather than the form kit's bridge to an object.
#include <windows.h>

#include <vector>

#include "form_kit_win32.h"
#include "host_state.h"
#include "monitor_cover.h"
#include "report_failure_win32.h"

namespace {

const wchar_t kCoverClass[] = L"BrumalisCover";
HCURSOR CoverPointer = nullptr;  // none: hidden

LRESULT CALLBACK CoverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;  // a click leaves the focus where it is
    case WM_SETCURSOR:
      SetCursor(CoverPointer);
      return TRUE;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT rect, LPARAM data) {
  reinterpret_cast<std::vector<ScreenRect> *>(data)->push_back({rect->left, rect->top, rect->right, rect->bottom});
  return TRUE;
}

}  // namespace

void CoverOtherMonitors(bool hidePointer) {
  std::vector<ScreenRect> monitors;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  const ScreenRect primary = {0, 0, formkit::ScreenWidthPixels(), formkit::ScreenHeightPixels()};
  const std::vector<ScreenRect> covers = CoverRects(monitors, primary);
  if (covers.empty()) return;
  CoverPointer = hidePointer ? nullptr : LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));

  WNDCLASSW wc = {};
  wc.lpfnWndProc = CoverProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = kCoverClass;
  if (!RegisterClassW(&wc)) formkit::ReportFailure("registering the monitor covers' window class");
  for (const ScreenRect &r : covers) {
    // A tool window has no taskbar button; no activation on showing either.
    HWND cover = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, kCoverClass, L"",
                                 WS_POPUP, r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                                 wc.hInstance, nullptr);
    if (cover)
      ShowWindow(cover, SW_SHOWNOACTIVATE);
    else
      formkit::ReportFailure("creating a monitor cover");
  }
}
