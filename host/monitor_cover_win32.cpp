#include "monitor_cover_win32.h"

#include "form_kit_win32.h"
#include "shared_names.h"

namespace {

const binding::WindowClass kCoverClass = {BRUMALIS_COVER_CLASS, 0, false, BLACK_BRUSH};

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT rect, LPARAM data) {
  reinterpret_cast<std::vector<ScreenRect> *>(data)->push_back({rect->left, rect->top, rect->right, rect->bottom});
  return TRUE;
}

std::vector<ScreenRect> CoversAround(const ScreenRect &window) {
  std::vector<ScreenRect> monitors;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  const ScreenRect primary = {0, 0, formkit::ScreenWidthPixels(), formkit::ScreenHeightPixels()};
  return CoverRects(monitors, primary, window);
}

}  // namespace

class MonitorCovers::Cover : public binding::Window {
 public:
  // A tool window has no taskbar button; no activation on showing either.
  // Not top-most: the renderer's windows, which are not, must stay above.
  Cover(const ScreenRect &r, HCURSOR pointer) : pointer_(pointer) {
    if (CreateBound(kCoverClass, WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, WS_POPUP, "", r.left, r.top, r.right - r.left,
                    r.bottom - r.top, nullptr))
      ShowWindow(Hwnd(), SW_SHOWNOACTIVATE);
  }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;  // a click leaves the focus where it is
      case WM_SETCURSOR:
        SetCursor(pointer_);
        return TRUE;
      default:
        return DefaultHandling(message, wParam, lParam);
    }
  }

  HCURSOR pointer_;  // none: hidden
};

MonitorCovers::MonitorCovers() = default;
MonitorCovers::~MonitorCovers() = default;

void MonitorCovers::Make(const std::vector<ScreenRect> &rects) {
  // The new covers are up before the old ones go, so that nothing of the
  // desktop shows between them.
  std::vector<std::unique_ptr<Cover>> made;
  for (const ScreenRect &r : rects) made.push_back(std::make_unique<Cover>(r, pointer_));
  covers_.swap(made);
  rects_ = rects;
}

void MonitorCovers::Lay(const ScreenRect &window, bool hidePointer) {
  pointer_ = hidePointer ? nullptr : LoadCursorA(nullptr, IDC_ARROW);
  Make(CoversAround(window));
}

void MonitorCovers::FitAround(const ScreenRect &window, HWND lowest) {
  const std::vector<ScreenRect> rects = CoversAround(window);
  if (rects != rects_) Make(rects);
  for (const auto &cover : covers_) {
    SetWindowPos(cover->Hwnd(), lowest, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  }
}
