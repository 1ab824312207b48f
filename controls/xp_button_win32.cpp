#include "xp_button_win32.h"

#include "paint_win32.h"

namespace {

const wchar_t kClassName[] = L"BrumalisXpButton";

// Mouse buttons and shift keys as the button's inputs count them: 1 left,
// 2 right, 4 middle; 1 Shift, 2 Ctrl, 4 Alt.
std::int16_t MouseButtons(WPARAM wParam) {
  return static_cast<std::int16_t>((wParam & MK_LBUTTON ? 1 : 0) | (wParam & MK_RBUTTON ? 2 : 0) |
                                   (wParam & MK_MBUTTON ? 4 : 0));
}

std::int16_t ShiftState(WPARAM wParam) {
  return static_cast<std::int16_t>((wParam & MK_SHIFT ? 1 : 0) | (wParam & MK_CONTROL ? 2 : 0) |
                                   (GetKeyState(VK_MENU) < 0 ? 4 : 0));
}

// Client coordinates are signed: with the mouse captured they run outside the window.
float PointX(LPARAM lParam) { return static_cast<float>(static_cast<short>(LOWORD(lParam))); }
float PointY(LPARAM lParam) { return static_cast<float>(static_cast<short>(HIWORD(lParam))); }

}  // namespace

XpButtonWindow::XpButtonWindow(ControlSite &site) : site_(site), hook_(static_cast<HookClient &>(*this)) {}

XpButtonWindow::~XpButtonWindow() { End(); }

HWND XpButtonWindow::Create(HWND parent, int x, int y, int width, int height, const PropertyBag *stored) {
  if (button_) return hwnd_;
  if (!formkit::RegisterWindowClass(kClassName, &formkit::BridgeProc<XpButtonWindow>)) return nullptr;
  if (!CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, x, y, width, height, parent,
                       nullptr, GetModuleHandleW(nullptr), this))
    return nullptr;
  if (stored) {
    button_->Load(*stored);
  } else {
    button_->InitNew();
  }
  return hwnd_;
}

void XpButtonWindow::End() {
  if (button_ && !ended_) {
    ended_ = true;
    button_->End();
  }
  if (hwnd_) DestroyWindow(hwnd_);
}

void XpButtonWindow::Bind(HWND hwnd) {
  hwnd_ = hwnd;
  button_ = std::make_unique<XpButton>(site_, static_cast<ButtonWindow &>(*this), hook_);
  button_->Click = [this] {
    if (OnClick) OnClick();
  };
  button_->DblClick = [this] {
    if (OnDblClick) OnDblClick();
  };
  button_->MouseMove = [this](std::int16_t button, std::int16_t shift, float x, float y) {
    if (OnMouseMove) OnMouseMove(button, shift, x, y);
  };
  button_->FormActivate = [this](std::int32_t state) {
    if (OnFormActivate) OnFormActivate(state);
  };
}

LRESULT XpButtonWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = hwnd_;
  XpButton &button = *button_;
  LRESULT result = 0;
  if (HandleOwnPaint(hwnd, message, wParam, [this](HDC dc) { image_.Show(dc); }, result)) return result;
  switch (message) {
    case WM_SIZE:
      Sized(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_BUTTON;
    case WM_MOUSEMOVE:
      button.OnMouseMove(MouseButtons(wParam), ShiftState(wParam), PointX(lParam), PointY(lParam));
      return 0;
    case WM_LBUTTONDOWN:
      if (GetFocus() != hwnd) SetFocus(hwnd);
      // Captured, so the release arrives even outside the button.
      SetCapture(hwnd);
      button.OnMouseDown(kLeftButton, ShiftState(wParam), PointX(lParam), PointY(lParam));
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == hwnd) ReleaseCapture();
      button.OnMouseUp(kLeftButton, ShiftState(wParam), PointX(lParam), PointY(lParam));
      return 0;
    case WM_LBUTTONDBLCLK:
      button.OnDblClick();
      return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      button.OnMouseDown(message == WM_RBUTTONDOWN ? kRightButton : kMiddleButton, ShiftState(wParam),
                         PointX(lParam), PointY(lParam));
      return 0;
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      button.OnMouseUp(message == WM_RBUTTONUP ? kRightButton : kMiddleButton, ShiftState(wParam),
                       PointX(lParam), PointY(lParam));
      return 0;
    case WM_KEYDOWN:
      button.OnKeyDown(static_cast<std::int16_t>(wParam));
      return 0;
    case WM_KEYUP:
      button.OnKeyUp(static_cast<std::int16_t>(wParam));
      return 0;
    case WM_SETFOCUS:
      button.OnGotFocus();
      return 0;
    case WM_KILLFOCUS:
      button.OnLostFocus();
      return 0;
    case WM_DESTROY:
      // Also reached when the form destroys its children: the hooks go
      // while both windows are still valid.
      if (!ended_) {
        ended_ = true;
        button.End();
      }
      break;
    case WM_NCDESTROY:
      formkit::Unbind(hwnd);
      hwnd_ = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void XpButtonWindow::Sized(int width, int height) {
  // Only a new size is a resize. A size message with the size unchanged (a
  // window position change may send one, and painting changes the shape)
  // must not repaint, or painting could set the shape from inside itself.
  if (width == clientWidth_ && height == clientHeight_) return;
  clientWidth_ = width;
  clientHeight_ = height;
  image_.Resize(width, height);
  button_->OnResize();
}

void XpButtonWindow::SetPixelSize(int width, int height) {
  if (hwnd_) SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void XpButtonWindow::SetShape(int width, int height) {
  if (!hwnd_) return;
  HRGN region = CreateRoundRectRgn(0, 0, width + 1, height + 1, 3, 3);
  // The window owns the region once it is set.
  if (region && !SetWindowRgn(hwnd_, region, TRUE)) DeleteObject(region);
}

void XpButtonWindow::EnableInput(bool enabled) {
  if (hwnd_) EnableWindow(hwnd_, enabled);
}

void XpButtonWindow::TrackMouseLeave() {
  TRACKMOUSEEVENT track = {};
  track.cbSize = sizeof track;
  track.dwFlags = TME_LEAVE;
  track.hwndTrack = hwnd_;
  TrackMouseEvent(&track);
}

void XpButtonWindow::ClientOriginOnScreen(int &x, int &y) {
  POINT origin = {0, 0};
  ClientToScreen(hwnd_, &origin);
  x = origin.x;
  y = origin.y;
}

void XpButtonWindow::MoveMouseTo(int x, int y) { SetCursorPos(x, y); }

void XpButtonWindow::zSubclass_Proc(bool bBefore, bool &bHandled, std::intptr_t &lReturn, std::uintptr_t &lng_hWnd,
                                    std::uint32_t &uMsg, std::uintptr_t &wParam, std::intptr_t &lParam) {
  if (button_) button_->zSubclass_Proc(bBefore, bHandled, lReturn, lng_hWnd, uMsg, wParam, lParam);
}
