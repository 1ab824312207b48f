#include "xp_button_win32.h"

#include "shared_names.h"

namespace {
const binding::WindowClass kButtonClass = {BRUMALIS_BUTTON_CLASS, CS_DBLCLKS};

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

ButtonKey KeyOf(WPARAM key) {
  switch (key) {
    case VK_RETURN:
      return ButtonKey::Enter;
    case VK_SPACE:
      return ButtonKey::Space;
    case VK_LEFT:
      return ButtonKey::Left;
    case VK_UP:
      return ButtonKey::Up;
    case VK_RIGHT:
      return ButtonKey::Right;
    case VK_DOWN:
      return ButtonKey::Down;
    default:
      return ButtonKey::Other;
  }
}

// Client coordinates are signed: with the mouse captured they run outside the window.
float PointX(LPARAM lParam) { return static_cast<float>(static_cast<short>(LOWORD(lParam))); }
float PointY(LPARAM lParam) { return static_cast<float>(static_cast<short>(HIWORD(lParam))); }

}  // namespace

XpButtonWindow::XpButtonWindow(ControlSite &site) : button_(site, *this, hook_) { hook_.SetClient(button_); }

XpButtonWindow::~XpButtonWindow() { End(); }

HWND XpButtonWindow::Create(HWND parent, int x, int y, int width, int height, const PropertyBag *stored) {
  if (Hwnd()) return Hwnd();
  if (!CreateBound(kButtonClass, 0, WS_CHILD | WS_VISIBLE | WS_TABSTOP, "", x, y, width, height, parent))
    return nullptr;
  // Loaded once the window exists: a run-time load hooks it.
  Load(stored);
  return Hwnd();
}

void XpButtonWindow::End() {
  button_.End();
  Release();
}

void XpButtonWindow::Sized(bool newSize) {
  // Only a new size is a resize. A size message with the size unchanged (a
  // window position change may send one, and painting changes the shape)
  // must not repaint, or painting could set the shape from inside itself.
  if (newSize) button_.Resize();
}

LRESULT XpButtonWindow::ControlMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND hwnd = Hwnd();
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_BUTTON;
    case WM_MOUSEMOVE:
      button_.OnMouseMove(MouseButtons(wParam), ShiftState(wParam), PointX(lParam), PointY(lParam));
      return 0;
    case WM_LBUTTONDOWN:
      if (GetFocus() != hwnd) SetFocus(hwnd);
      // Captured, so the release arrives even outside the button.
      SetCapture(hwnd);
      button_.OnMouseDown(kLeftButton, ShiftState(wParam), PointX(lParam), PointY(lParam));
      return 0;
    case WM_LBUTTONUP:
      // Released before the button clicks: a handler that opens a modal
      // window finds the mouse free.
      if (GetCapture() == hwnd) ReleaseCapture();
      button_.OnMouseUp(kLeftButton, ShiftState(wParam), PointX(lParam), PointY(lParam));
      return 0;
    case WM_LBUTTONDBLCLK:
      button_.OnDblClick();
      return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      button_.OnMouseDown(message == WM_RBUTTONDOWN ? kRightButton : kMiddleButton, ShiftState(wParam),
                          PointX(lParam), PointY(lParam));
      return 0;
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      button_.OnMouseUp(message == WM_RBUTTONUP ? kRightButton : kMiddleButton, ShiftState(wParam),
                        PointX(lParam), PointY(lParam));
      return 0;
    case WM_KEYDOWN:
      button_.OnKeyDown(KeyOf(wParam));
      return 0;
    case WM_KEYUP:
      button_.OnKeyUp(KeyOf(wParam));
      return 0;
    case WM_SETFOCUS:
      button_.OnGotFocus();
      return 0;
    case WM_KILLFOCUS:
      button_.OnLostFocus();
      return 0;
    case WM_DESTROY:
      // Also reached when the form destroys its children: the hooks go
      // while both windows are still valid.
      button_.End();
      break;
    default:
      break;
  }
  return DefaultHandling(message, wParam, lParam);
}
