// Forms, their timers, and the containers that hold lightweight controls.
#include <algorithm>

#include "child_notifications_win32.h"
#include "form_kit_internal_win32.h"
#include "paint_win32.h"
#include "report_failure_win32.h"
#include "screen_units.h"
#include "shared_names.h"
#include "text_win32.h"

namespace formkit {

using namespace internal;

namespace {
const binding::WindowClass kFormClass = {BRUMALIS_FORM_CLASS, CS_DBLCLKS};
}  // namespace

// -- Timers ------------------------------------------------------------------
Timer::Timer(Form &form, std::function<void()> tick) : form_(form), tick_(std::move(tick)) {
  id_ = form_.nextTimerId_++;
  form_.timers_.push_back(this);
}

Timer::~Timer() {
  if (form_.Hwnd()) KillTimer(form_.Hwnd(), id_);
  form_.timers_.erase(std::remove(form_.timers_.begin(), form_.timers_.end(), this), form_.timers_.end());
}

void Timer::SetInterval(UINT milliseconds) {
  interval_ = milliseconds;
  Apply();
}

void Timer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Apply();
}

void Timer::Apply() {
  if (!form_.Hwnd()) return;
  if (!enabled_ || interval_ == 0)
    KillTimer(form_.Hwnd(), id_);
  else if (!SetTimer(form_.Hwnd(), id_, interval_, nullptr))
    binding::ReportFailure("setting a timer");
}

// -- Containers ----------------------------------------------------------------
void Container::SetBackColour(COLORREF colour) {
  back_ = colour;
  if (Hwnd()) InvalidateRect(Hwnd(), nullptr, TRUE);
}

std::optional<ContrastColours> Container::Contrast() {
  return OwnerForm().FollowsHighContrast() ? HighContrast() : std::nullopt;
}

COLORREF Container::BackColour() {
  const std::optional<ContrastColours> contrast = Contrast();
  return contrast ? contrast->face : back_;
}

void Container::PaintBackground(HDC dc) { FillClient(Hwnd(), dc, BackColour()); }

void Container::PaintAll(HDC dc) {
  PaintBackground(dc);
  for (auto &control : controls_) {
    if (!control->Visible()) continue;
    const RECT b = control->PaintBounds(dc);
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, b.left, b.top, b.right, b.bottom);
    control->Paint(dc);
    RestoreDC(dc, saved);
  }
}

Control *Container::ControlAt(int x, int y) {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    const RECT b = (*it)->Bounds();
    if ((*it)->Visible() && x >= b.left && x < b.right && y >= b.top && y < b.bottom) return it->get();
  }
  return nullptr;
}

bool Container::HandleContainer(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) {
  result = 0;
  if (HandleOwnPaint(Hwnd(), message, wParam, [this](HDC dc) { PaintAll(dc); }, result)) return true;
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const int button = (message == WM_RBUTTONDOWN) ? kRightButton
                         : (message == WM_MBUTTONDOWN) ? kMiddleButton
                                                       : kLeftButton;
      const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
      Control *control = ControlAt(x, y);
      pressed_ = button == kLeftButton ? control : nullptr;
      if (control && control->OnMouseDown) {
        const RECT b = control->Bounds();
        control->OnMouseDown(button, ShiftState(), x - b.left, y - b.top);
      }
      return true;
    }
    case WM_LBUTTONUP: {
      Control *control = ControlAt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      if (control && control == pressed_ && control->OnClick) control->OnClick();
      pressed_ = nullptr;
      return true;
    }
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        if (IsPointerHourglass()) {
          ::SetCursor(Hourglass());
          result = TRUE;
          return true;
        }
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(Hwnd(), &p);
        if (Control *control = ControlAt(p.x, p.y)) {
          if (control->Cursor()) {
            ::SetCursor(control->Cursor());
            result = TRUE;
            return true;
          }
        }
      }
      return false;
    default:
      // Notifications of windowed controls inside a child container belong to its form.
      if (IsChildNotification(message) && (GetWindowLongW(Hwnd(), GWL_STYLE) & WS_CHILD)) {
        result = SendMessageW(GetParent(Hwnd()), message, wParam, lParam);
        return true;
      }
      return false;
  }
}

// -- Forms -------------------------------------------------------------------
Form::Form(std::wstring caption, DWORD style, DWORD exStyle)
    : caption_(std::move(caption)), style_(style & ~WS_VISIBLE), exStyle_(exStyle | WS_EX_CONTROLPARENT) {}

Form::~Form() {
  // Destroyed like any other way a form goes, so that it counts itself out of
  // the loaded forms; the derived form's handlers are gone already, so only
  // the kit's own handling runs.
  Release();
  LoadedFormList.erase(std::remove(LoadedFormList.begin(), LoadedFormList.end(), this), LoadedFormList.end());
}

bool Form::Load() {
  if (Hwnd()) return true;
  if (!CreateBound(kFormClass, exStyle_, style_, "", 0, 0, 0, 0, nullptr)) return false;
  // Windows gives every overlapped window a caption; a form asked for without
  // one keeps the style it was asked for.
  if (!(style_ & (WS_POPUP | WS_CHILD | WS_CAPTION))) {
    SetWindowLongW(Hwnd(), GWL_STYLE, static_cast<LONG>(style_));
    SetWindowPos(Hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  LoadedFormList.push_back(this);
  SetCaption(caption_);
  for (Timer *timer : timers_) timer->Apply();
  OnLoad();
  return true;
}

void Form::Show() {
  if (Load()) ShowWindow(Hwnd(), SW_SHOW);
}

void Form::ShowModal() {
  Show();
  MSG msg;
  while (Hwnd() && GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchOne(msg);
}

bool Form::Unload(UnloadMode mode) {
  if (!Hwnd()) return true;
  bool cancel = false;
  OnQueryUnload(cancel, mode);
  if (cancel) return false;
  OnUnload(cancel);
  if (cancel) return false;
  Release();  // WM_DESTROY finishes the unload
  return true;
}

void Form::SetCaption(const std::wstring &caption) {
  caption_ = caption;
  if (Hwnd()) SetWindowTextA(Hwnd(), ToAnsi(caption_).c_str());
}

void Form::MoveTwips(long left, long top, long width, long height) {
  if (!Hwnd()) return;
  MoveWindow(Hwnd(), PixelsX(left), PixelsY(top), PixelsX(width), PixelsY(height), TRUE);
}

void Form::SetClientSizeTwips(long width, long height) {
  if (!Hwnd()) return;
  RECT r = {0, 0, PixelsX(width), PixelsY(height)};
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(Hwnd(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(Hwnd(), GWL_EXSTYLE)));
  SetWindowPos(Hwnd(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT Form::WindowRectTwips() const {
  RECT r = {};
  if (Hwnd()) GetWindowRect(Hwnd(), &r);
  const int dx = LogicalPixels(LOGPIXELSX), dy = LogicalPixels(LOGPIXELSY);
  return {PixelsToTwips(r.left, dx), PixelsToTwips(r.top, dy), PixelsToTwips(r.right, dx), PixelsToTwips(r.bottom, dy)};
}

void Form::SetIcon(HICON icon) {
  if (!Hwnd()) return;
  SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

void Form::SetFont(HFONT font) { font_ = font; }

void Form::TabToNext(bool backwards) {
  if (!Hwnd()) return;
  HWND focus = GetFocus();
  if (focus && focus != Hwnd() && !IsChild(Hwnd(), focus)) return;
  // The edit box of a combo box stands for the combo box.
  if (focus && focus != Hwnd()) {
    wchar_t cls[32] = L"";
    GetClassNameW(GetParent(focus), cls, 32);
    if (lstrcmpiW(cls, L"ComboBox") == 0) focus = GetParent(focus);
  }
  if (HWND next = GetNextDlgTabItem(Hwnd(), focus == Hwnd() ? nullptr : focus, backwards)) ::SetFocus(next);
}

void Form::NoteFocus(HWND focus) {
  if (!Hwnd() || (focus != Hwnd() && !IsChild(Hwnd(), focus)) || focus == lastFocus_) return;
  HWND before = lastFocus_;
  lastFocus_ = focus;
  if (OnFocusMoved) OnFocusMoved(before, focus);
}

// As dialogs do: an activated form gives the keyboard focus back to the
// control that had it (after another window, such as a file dialog, had
// it), or at first to the control chosen for it.
void Form::RestoreFocus() {
  for (HWND target : {lastFocus_, initialFocus_}) {
    if (target && target != Hwnd() && IsChild(Hwnd(), target) && IsWindowVisible(target) && IsWindowEnabled(target)) {
      ::SetFocus(target);
      return;
    }
  }
}

void Form::SetAccessKeys(HWND control, const std::wstring &keys, std::function<void()> pressed) {
  for (AccessKey &k : accessKeys_) {
    if (k.control == control) {
      k.keys = keys;
      k.pressed = std::move(pressed);
      return;
    }
  }
  accessKeys_.push_back({control, keys, std::move(pressed)});
}

bool Form::PreTranslateMessage(MSG &msg) {
  if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) && OnDialogKey &&
      OnDialogKey(static_cast<UINT>(msg.wParam)))
    return true;
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
    TabToNext(GetKeyState(VK_SHIFT) < 0);
    return true;
  }
  if (msg.message == WM_SYSCHAR) {
    const wchar_t typed = static_cast<wchar_t>(towlower(static_cast<wint_t>(msg.wParam)));
    for (AccessKey &k : accessKeys_) {
      if (k.keys.find(typed) != std::wstring::npos && IsWindowEnabled(k.control) && IsWindowVisible(k.control)) {
        if (k.pressed) k.pressed();
        return true;
      }
    }
  }
  return false;
}

void Form::Destroyed() {
  for (Timer *timer : timers_) KillTimer(Hwnd(), timer->id_);
  const auto listed = std::find(LoadedFormList.begin(), LoadedFormList.end(), this);
  if (listed != LoadedFormList.end()) {
    LoadedFormList.erase(listed);
    // Wakes the message loops, which look again whether their form or any
    // form is still there; a window destroyed from outside arrives as a sent
    // message, which leaves a waiting loop asleep.
    PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
  }
}

namespace {
BOOL CALLBACK TellOfNewColours(HWND child, LPARAM) {
  SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
  return TRUE;
}
}  // namespace

// Child windows hear of new system colours only from their top-level window.
void Form::ColoursMayHaveChanged(UINT message) {
  if (message == WM_SYSCOLORCHANGE) EnumChildWindows(Hwnd(), TellOfNewColours, 0);
  if (!RefreshHighContrast() && message != WM_SYSCOLORCHANGE) return;
  if (OnColoursChanged) OnColoursChanged();
  RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (OnMessage(message, wParam, lParam, result)) return result;
  if (HandleContainer(message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_TIMER:
      for (Timer *timer : timers_) {
        if (timer->id_ == wParam && timer->enabled_) timer->tick_();
      }
      return 0;
    case WM_CLOSE:
      Unload(UnloadMode::ControlMenu);
      return 0;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      ColoursMayHaveChanged(message);
      return DefaultHandling(message, wParam, lParam);
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) {
        RestoreFocus();
        if (GetFocus() && GetFocus() != Hwnd()) return 0;
      }
      return DefaultHandling(message, wParam, lParam);
    case WM_DESTROY:
      // Also reached when the window is destroyed from outside, for example
      // with the window it was made a child of.
      Destroyed();
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

}  // namespace formkit
