#include "form_kit_win32.h"

#include <algorithm>

#include "command_line.h"
#include "text_win32.h"

namespace formkit {

namespace {

const wchar_t kFormClass[] = L"BrumalisForm";
int LoadedForms = 0;
MousePointer ScreenPointer = MousePointer::Default;

int LogicalPixels(int index) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, index);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

}  // namespace

void Form::RegisterClassOnce() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &Form::WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = kFormClass;
  registered = RegisterClassExW(&wc) != 0;
}

namespace {
}  // namespace

// -- Screen ----------------------------------------------------------------
int TwipsPerPixelX() { return 1440 / LogicalPixels(LOGPIXELSX); }
int TwipsPerPixelY() { return 1440 / LogicalPixels(LOGPIXELSY); }
long ScreenWidthTwips() { return static_cast<long>(GetSystemMetrics(SM_CXSCREEN)) * TwipsPerPixelX(); }
long ScreenHeightTwips() { return static_cast<long>(GetSystemMetrics(SM_CYSCREEN)) * TwipsPerPixelY(); }

// The screen-wide pointer overrides every form's own until set back.
void SetScreenMousePointer(MousePointer pointer) {
  ScreenPointer = pointer;
  SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(pointer == MousePointer::Hourglass ? IDC_WAIT
                                                                                                : IDC_ARROW)));
}

MousePointer ScreenMousePointer() { return ScreenPointer; }

// -- Program ---------------------------------------------------------------
namespace App {

std::wstring Path() {
  wchar_t buffer[MAX_PATH * 2] = L"";
  const DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 2);
  std::wstring path(buffer, n);
  const std::size_t slash = path.find_last_of(L"\\/");
  path = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  return path;
}

std::wstring Title() { return L"Brumalis (ScreenSaver)"; }

std::wstring Command() { return ArgumentText(GetCommandLineW()); }

void MsgBox(const std::wstring &text) {
  MessageBoxA(nullptr, ToAnsi(text).c_str(), ToAnsi(Title()).c_str(), MB_OK);
}

void End() { ExitProcess(0); }

int Run() {
  MSG msg;
  while (LoadedForms > 0 && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

}  // namespace App

// -- Controls ----------------------------------------------------------------
void Control::MovePixels(int left, int top, int width, int height) {
  Invalidate();
  bounds_ = {left, top, left + (width > 0 ? width : 0), top + (height > 0 ? height : 0)};
  Invalidate();
}

void Control::SetVisible(bool visible) {
  visible_ = visible;
  Invalidate();
}

void Control::Invalidate() {
  if (form_.Hwnd()) InvalidateRect(form_.Hwnd(), &bounds_, FALSE);
}

Image::~Image() {
  if (picture_) DeleteObject(picture_);
}

void Image::SetPicture(HBITMAP bitmap) {
  if (picture_) DeleteObject(picture_);
  picture_ = bitmap;
  Invalidate();
}

void Image::Paint(HDC dc) {
  if (!picture_) return;
  BITMAP info = {};
  GetObjectW(picture_, sizeof info, &info);
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, picture_);
  const int w = std::min<int>(info.bmWidth, bounds_.right - bounds_.left);
  const int h = std::min<int>(info.bmHeight, bounds_.bottom - bounds_.top);
  if (w > 0 && h > 0) BitBlt(dc, bounds_.left, bounds_.top, w, h, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

// -- Timers ------------------------------------------------------------------
Timer::Timer(Form &form, std::function<void()> tick) : form_(form), tick_(std::move(tick)) {
  id_ = form_.timers_.size() + 1;
  form_.timers_.push_back(this);
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
  if (enabled_ && interval_ > 0)
    SetTimer(form_.Hwnd(), id_, interval_, nullptr);
  else
    KillTimer(form_.Hwnd(), id_);
}

// -- Forms -------------------------------------------------------------------
Form::Form(std::wstring caption, DWORD style, DWORD exStyle)
    : caption_(std::move(caption)), style_(style & ~WS_VISIBLE), exStyle_(exStyle) {}

Form::~Form() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void Form::Load() {
  if (hwnd_) return;
  RegisterClassOnce();
  // The window procedure knows the form from WM_NCCREATE on.
  if (!CreateWindowExW(exStyle_, kFormClass, L"", style_, 0, 0, 0, 0, nullptr, nullptr,
                       GetModuleHandleW(nullptr), this)) {
    hwnd_ = nullptr;
    return;
  }
  // Windows gives every overlapped window a caption; a form asked for without
  // one keeps the style it was asked for.
  if (!(style_ & (WS_POPUP | WS_CHILD | WS_CAPTION))) {
    SetWindowLongW(hwnd_, GWL_STYLE, static_cast<LONG>(style_));
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  counted_ = true;
  ++LoadedForms;
  SetCaption(caption_);
  for (Timer *timer : timers_) timer->Apply();
  OnLoad();
}

void Form::Show() {
  Load();
  if (hwnd_) ShowWindow(hwnd_, SW_SHOW);
}

void Form::ShowModal() {
  Show();
  MSG msg;
  while (hwnd_ && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool Form::Unload(UnloadMode mode) {
  if (!hwnd_) return true;
  bool cancel = false;
  OnQueryUnload(cancel, mode);
  if (cancel) return false;
  OnUnload(cancel);
  if (cancel) return false;
  HWND hwnd = hwnd_;
  DestroyWindow(hwnd);  // WM_DESTROY finishes the unload
  return true;
}

void Form::SetCaption(const std::wstring &caption) {
  caption_ = caption;
  if (hwnd_) SetWindowTextA(hwnd_, ToAnsi(caption_).c_str());
}

void Form::SetBackColour(COLORREF colour) {
  back_ = colour;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form::MoveTwips(long left, long top, long width, long height) {
  if (!hwnd_) return;
  const int tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
  MoveWindow(hwnd_, left / tx, top / ty, width / tx, height / ty, TRUE);
}

void Form::Paint(HDC dc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  HBRUSH brush = CreateSolidBrush(back_);
  FillRect(dc, &client, brush);
  DeleteObject(brush);
  for (auto &control : controls_) {
    if (!control->Visible()) continue;
    const RECT b = control->Bounds();
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, b.left, b.top, b.right, b.bottom);
    control->Paint(dc);
    RestoreDC(dc, saved);
  }
}

void Form::Destroyed() {
  for (Timer *timer : timers_) KillTimer(hwnd_, timer->id_);
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  hwnd_ = nullptr;
  if (counted_) {
    counted_ = false;
    --LoadedForms;
    // Wakes the message loops, which look again whether their form or any
    // form is still there; a window destroyed from outside arrives as a sent
    // message, which leaves a waiting loop asleep.
    PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
  }
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto *form = static_cast<Form *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
    form->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto *form = reinterpret_cast<Form *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!form) return DefWindowProcW(hwnd, message, wParam, lParam);
  return form->Handle(message, wParam, lParam);
}

LRESULT Form::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (OnMessage(message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the paint fills the background itself
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      Paint(dc);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_TIMER:
      for (Timer *timer : timers_) {
        if (timer->id_ == wParam && timer->enabled_) timer->tick_();
      }
      return 0;
    case WM_SETCURSOR:
      if (ScreenPointer == MousePointer::Hourglass) {
        SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
        return TRUE;
      }
      return DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_CLOSE:
      Unload(UnloadMode::ControlMenu);
      return 0;
    case WM_DESTROY:
      // Also reached when the window is destroyed from outside, for example
      // with the window it was made a child of.
      Destroyed();
      return 0;
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

}  // namespace formkit
