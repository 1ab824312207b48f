#include "control_window_win32.h"

#include "child_notifications_win32.h"
#include "paint_win32.h"

namespace formkit {
namespace {
// A screen reader asked for the control's default action.
constexpr UINT kDefaultActionMessage = WM_APP + 0x58;
}  // namespace

CustomControlWindow::CustomControlWindow() {
  accessible_.facts = [this](int) {
    const PaintedControl *control = Painted();
    return control ? control->Describe(WindowOnScreen(Hwnd()), GetFocus() == Hwnd()) : AccessibleFacts{};
  };
  // Carried out once the reader's call has returned, as a click would be.
  accessible_.doDefault = [this](int) { PostMessageW(Hwnd(), kDefaultActionMessage, 0, 0); };
  // The controls placed inside a container stay reachable through it.
  accessible_.childWindows = true;
}

void CustomControlWindow::Load(const PropertyBag *stored) {
  PaintedControl *control = Painted();
  if (!control) return;
  if (stored) {
    control->ReadProperties(*stored);
  } else {
    control->InitNew();
  }
}

LRESULT CustomControlWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (HandleOwnPaint(Hwnd(), message, wParam, [this](HDC dc) { image_.Show(dc); }, result)) return result;
  if (message == WM_SIZE) {
    const int width = LOWORD(lParam), height = HIWORD(lParam);
    const bool newSize = width != clientWidth_ || height != clientHeight_;
    clientWidth_ = width;
    clientHeight_ = height;
    image_.Resize(width, height);
    Sized(newSize);
    return 0;
  }
  if (IsChildNotification(message)) return SendMessageW(GetParent(Hwnd()), message, wParam, lParam);
  if (message == WM_GETOBJECT && accessible_.Answer(Hwnd(), wParam, lParam, result)) return result;
  if (message == kDefaultActionMessage) {
    if (PaintedControl *control = Painted()) control->DoDefaultAction();
    return 0;
  }
  return ControlMessage(message, wParam, lParam);
}

void CustomControlWindow::SetPixelSize(int width, int height) {
  if (Hwnd()) SetWindowPos(Hwnd(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CustomControlWindow::SetRoundedShape(int width, int height, int ellipse) {
  if (!Hwnd()) return;
  HRGN region = CreateRoundRectRgn(0, 0, width, height, ellipse, ellipse);
  // The window owns the region once it is set.
  if (region && !SetWindowRgn(Hwnd(), region, TRUE)) DeleteObject(region);
  // The shape comes with every new look, and an unchanged region need not
  // make the system redraw the window.
  InvalidateRect(Hwnd(), nullptr, FALSE);
}

void CustomControlWindow::EnableInput(bool enabled) {
  if (Hwnd()) EnableWindow(Hwnd(), enabled);
}

void CustomControlWindow::TrackMouseLeave() {
  TRACKMOUSEEVENT track = {};
  track.cbSize = sizeof track;
  track.dwFlags = TME_LEAVE;
  track.hwndTrack = Hwnd();
  TrackMouseEvent(&track);
}

void CustomControlWindow::ClientOriginOnScreen(int &x, int &y) {
  POINT origin = {0, 0};
  ClientToScreen(Hwnd(), &origin);
  x = origin.x;
  y = origin.y;
}

void CustomControlWindow::MoveMouseTo(int x, int y) { SetCursorPos(x, y); }

}  // namespace formkit
