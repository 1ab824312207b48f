#include "form_kit_win32.h"

#include <algorithm>
#include <cmath>

#include "argument_text.h"
#include "numbers.h"
#include "paint_win32.h"
#include "text_win32.h"

namespace formkit {

namespace {

const wchar_t kFormClass[] = L"BrumalisForm";
const wchar_t kGroupClass[] = L"BrumalisGroupFrame";
const wchar_t kPictureClass[] = L"BrumalisPictureBox";
int LoadedForms = 0;
MousePointer ScreenPointer = MousePointer::Default;
std::vector<Form *> LoadedFormList;

int LogicalPixels(int index) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, index);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

void RegisterWindowClass(const wchar_t *name, WNDPROC proc) {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(Instance(), name, &wc)) return;
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = Instance();
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

// Windows hand the object behind them over at WM_NCCREATE.
template <typename T>
T *Attach(HWND hwnd, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto *object = static_cast<T *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    return object;
  }
  return reinterpret_cast<T *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

int ShiftState() {
  return ((GetKeyState(VK_SHIFT) < 0) ? 1 : 0) | ((GetKeyState(VK_CONTROL) < 0) ? 2 : 0) |
         ((GetKeyState(VK_MENU) < 0) ? 4 : 0);
}

bool IsPointerHourglass() { return ScreenPointer == MousePointer::Hourglass; }

HCURSOR Arrow() { return LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)); }
HCURSOR Hourglass() { return LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)); }

}  // namespace

// -- Screen ----------------------------------------------------------------
int TwipsPerPixelX() { return 1440 / LogicalPixels(LOGPIXELSX); }
int TwipsPerPixelY() { return 1440 / LogicalPixels(LOGPIXELSY); }
long ScreenWidthTwips() { return static_cast<long>(GetSystemMetrics(SM_CXSCREEN)) * TwipsPerPixelX(); }
long ScreenHeightTwips() { return static_cast<long>(GetSystemMetrics(SM_CYSCREEN)) * TwipsPerPixelY(); }
int PixelsX(long twips) { return RoundToInt32(static_cast<double>(twips) / TwipsPerPixelX()).value_or(0); }
int PixelsY(long twips) { return RoundToInt32(static_cast<double>(twips) / TwipsPerPixelY()).value_or(0); }

// The screen-wide pointer overrides every form's own until set back.
void SetScreenMousePointer(MousePointer pointer) {
  ScreenPointer = pointer;
  ::SetCursor(pointer == MousePointer::Hourglass ? Hourglass() : Arrow());
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

}  // namespace App

// Keyboard handling the forms do before a message is dispatched: Tab moves
// the focus, Alt with an access key presses its control.
bool PreTranslate(MSG &msg) {
  for (Form *form : LoadedFormList) {
    if (form->Hwnd() && (msg.hwnd == form->Hwnd() || IsChild(form->Hwnd(), msg.hwnd)) &&
        form->PreTranslateMessage(msg))
      return true;
  }
  return false;
}

namespace {
void DispatchOne(MSG &msg) {
  if (PreTranslate(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  // Focus changes are reported after the message that caused them.
  HWND focus = GetFocus();
  for (Form *form : LoadedFormList) form->NoteFocus(focus);
}
}  // namespace

namespace App {

int Run() {
  MSG msg;
  while (LoadedForms > 0 && GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchOne(msg);
  return 0;
}

void DoEvents() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    DispatchOne(msg);
  }
}

}  // namespace App

Picture LoadPictureResource(int id) {
  HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(Instance(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
  if (!bitmap) return nullptr;
  return Picture(bitmap, [](HBITMAP b) { DeleteObject(b); });
}

// -- Lightweight controls ------------------------------------------------------
void Control::MovePixels(int left, int top, int width, int height) {
  Invalidate();
  bounds_ = {left, top, left + (width > 0 ? width : 0), top + (height > 0 ? height : 0)};
  Invalidate();
}

void Control::MoveTwips(long left, long top, long width, long height) {
  MovePixels(PixelsX(left), PixelsY(top), PixelsX(width), PixelsY(height));
}

void Control::SetVisible(bool visible) {
  visible_ = visible;
  Invalidate();
}

void Control::Invalidate() {
  if (container_.Hwnd()) InvalidateRect(container_.Hwnd(), &bounds_, FALSE);
}

void Image::SetPicture(Picture picture) {
  picture_ = std::move(picture);
  Invalidate();
}

namespace {
void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y, int maxWidth, int maxHeight) {
  if (!bitmap) return;
  BITMAP info = {};
  GetObjectW(bitmap, sizeof info, &info);
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, bitmap);
  const int w = std::min<int>(info.bmWidth, maxWidth), h = std::min<int>(info.bmHeight, maxHeight);
  if (w > 0 && h > 0) BitBlt(dc, x, y, w, h, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}
}  // namespace

void Image::Paint(HDC dc) {
  DrawBitmap(dc, picture_.get(), bounds_.left, bounds_.top, bounds_.right - bounds_.left,
             bounds_.bottom - bounds_.top);
}

void Label::SetCaption(const std::wstring &caption) {
  // The old text may have run past the bounds.
  if (container_.Hwnd()) InvalidateRect(container_.Hwnd(), nullptr, FALSE);
  caption_ = caption;
  Invalidate();
}

void Label::SetForeColour(COLORREF colour) {
  fore_ = colour;
  Invalidate();
}

// A label one line high keeps its text on that line, and lets it run on to
// the right: a substituted font may be a little wider than the one the
// dialog was laid out for. Taller labels wrap their text at word boundaries.
bool Label::SingleLine(HDC dc) const {
  TEXTMETRICW tm = {};
  GetTextMetricsW(dc, &tm);
  return bounds_.bottom - bounds_.top < 2 * tm.tmHeight;
}

RECT Label::PaintBounds(HDC dc) const {
  HGDIOBJ old = nullptr;
  if (HFONT font = container_.OwnerForm().Font()) old = SelectObject(dc, font);
  RECT r = bounds_;
  if (SingleLine(dc)) {
    const std::string text = ToAnsi(caption_);
    SIZE size = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    r.right = std::max<LONG>(r.right, r.left + size.cx);
  }
  if (old) SelectObject(dc, old);
  return r;
}

void Label::Paint(HDC dc) {
  HGDIOBJ old = nullptr;
  if (HFONT font = container_.OwnerForm().Font()) old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, fore_);
  RECT r = PaintBounds(dc);
  const std::string text = ToAnsi(caption_);
  // No access-key prefix: a label may show a file path with "&" in it.
  const UINT layout = SingleLine(dc) ? DT_SINGLELINE : DT_WORDBREAK;
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_TOP | DT_NOPREFIX | layout);
  if (old) SelectObject(dc, old);
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

// -- Containers ----------------------------------------------------------------
Container::~Container() = default;

void Container::SetBackColour(COLORREF colour) {
  back_ = colour;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void Container::PaintBackground(HDC dc) { FillClient(hwnd_, dc, back_); }

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
  if (HandleOwnPaint(hwnd_, message, wParam, [this](HDC dc) { PaintAll(dc); }, result)) return true;
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
        ScreenToClient(hwnd_, &p);
        if (Control *control = ControlAt(p.x, p.y)) {
          if (control->Cursor()) {
            ::SetCursor(control->Cursor());
            result = TRUE;
            return true;
          }
        }
      }
      return false;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      // Notifications of windowed controls inside a child container belong to its form.
      if (GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD) {
        result = SendMessageW(GetParent(hwnd_), message, wParam, lParam);
        return true;
      }
      return false;
    default:
      return false;
  }
}

// -- Forms -------------------------------------------------------------------
Form::Form(std::wstring caption, DWORD style, DWORD exStyle)
    : caption_(std::move(caption)), style_(style & ~WS_VISIBLE), exStyle_(exStyle | WS_EX_CONTROLPARENT) {}

Form::~Form() {
  LoadedFormList.erase(std::remove(LoadedFormList.begin(), LoadedFormList.end(), this), LoadedFormList.end());
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void Form::RegisterClassOnce() { RegisterWindowClass(kFormClass, &Form::WindowProc); }

void Form::Load() {
  if (hwnd_) return;
  RegisterClassOnce();
  // The window procedure knows the form from WM_NCCREATE on.
  if (!CreateWindowExW(exStyle_, kFormClass, L"", style_, 0, 0, 0, 0, nullptr, nullptr, Instance(), this)) {
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
  LoadedFormList.push_back(this);
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
  while (hwnd_ && GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchOne(msg);
}

bool Form::Unload(UnloadMode mode) {
  if (!hwnd_) return true;
  bool cancel = false;
  OnQueryUnload(cancel, mode);
  if (cancel) return false;
  OnUnload(cancel);
  if (cancel) return false;
  DestroyWindow(hwnd_);  // WM_DESTROY finishes the unload
  return true;
}

void Form::SetCaption(const std::wstring &caption) {
  caption_ = caption;
  if (hwnd_) SetWindowTextA(hwnd_, ToAnsi(caption_).c_str());
}

void Form::MoveTwips(long left, long top, long width, long height) {
  if (!hwnd_) return;
  MoveWindow(hwnd_, PixelsX(left), PixelsY(top), PixelsX(width), PixelsY(height), TRUE);
}

void Form::SetClientSizeTwips(long width, long height) {
  if (!hwnd_) return;
  RECT r = {0, 0, PixelsX(width), PixelsY(height)};
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE)));
  SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT Form::WindowRectTwips() const {
  RECT r = {};
  if (hwnd_) GetWindowRect(hwnd_, &r);
  const long tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
  return {r.left * tx, r.top * ty, r.right * tx, r.bottom * ty};
}

void Form::SetIcon(HICON icon) {
  if (!hwnd_) return;
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

void Form::SetFont(HFONT font) { font_ = font; }

void Form::TabToNext(bool backwards) {
  if (!hwnd_) return;
  HWND focus = GetFocus();
  if (focus && focus != hwnd_ && !IsChild(hwnd_, focus)) return;
  // The edit box of a combo box stands for the combo box.
  if (focus && focus != hwnd_) {
    wchar_t cls[32] = L"";
    GetClassNameW(GetParent(focus), cls, 32);
    if (lstrcmpiW(cls, L"ComboBox") == 0) focus = GetParent(focus);
  }
  if (HWND next = GetNextDlgTabItem(hwnd_, focus == hwnd_ ? nullptr : focus, backwards)) ::SetFocus(next);
}

void Form::NoteFocus(HWND focus) {
  if (!hwnd_ || !OnFocusMoved || (focus != hwnd_ && !IsChild(hwnd_, focus)) || focus == lastFocus_) return;
  HWND before = lastFocus_;
  lastFocus_ = focus;
  OnFocusMoved(before, focus);
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
  for (Timer *timer : timers_) KillTimer(hwnd_, timer->id_);
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  hwnd_ = nullptr;
  LoadedFormList.erase(std::remove(LoadedFormList.begin(), LoadedFormList.end(), this), LoadedFormList.end());
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
  Form *form = Attach<Form>(hwnd, message, lParam);
  if (message == WM_NCCREATE && form) form->hwnd_ = hwnd;
  if (!form) return DefWindowProcW(hwnd, message, wParam, lParam);
  return form->Handle(message, wParam, lParam);
}

LRESULT Form::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
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
    case WM_DESTROY:
      // Also reached when the window is destroyed from outside, for example
      // with the window it was made a child of.
      Destroyed();
      return 0;
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

// -- Group frames ----------------------------------------------------------------
GroupFrame::GroupFrame(Container &parent, std::wstring caption) : parent_(parent), caption_(std::move(caption)) {}

void GroupFrame::Create(long left, long top, long width, long height, HWND parentWindow) {
  RegisterWindowClass(kGroupClass, &GroupFrame::WindowProc);
  CreateWindowExW(WS_EX_CONTROLPARENT, kGroupClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                  PixelsX(left), PixelsY(top), PixelsX(width), PixelsY(height),
                  parentWindow ? parentWindow : parent_.Hwnd(), nullptr, Instance(), this);
}

void GroupFrame::PaintBackground(HDC dc) {
  Container::PaintBackground(dc);
  RECT client;
  GetClientRect(hwnd_, &client);
  HGDIOBJ old = nullptr;
  if (HFONT font = OwnerForm().Font()) old = SelectObject(dc, font);
  TEXTMETRICW tm = {};
  GetTextMetricsW(dc, &tm);
  // The etched frame runs through the middle of the caption's line.
  RECT frame = client;
  frame.top = tm.tmHeight / 2;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  const std::string text = ToAnsi(caption_);
  SIZE size = {};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  RECT captionBox = {8, 0, 8 + size.cx + 4, tm.tmHeight};
  HBRUSH brush = CreateSolidBrush(back_);
  FillRect(dc, &captionBox, brush);
  DeleteObject(brush);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  TextOutA(dc, 10, 0, text.c_str(), static_cast<int>(text.size()));
  if (old) SelectObject(dc, old);
}

LRESULT CALLBACK GroupFrame::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  GroupFrame *frame = Attach<GroupFrame>(hwnd, message, lParam);
  if (!frame) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCCREATE) frame->hwnd_ = hwnd;
  LRESULT result = 0;
  if (frame->HandleContainer(message, wParam, lParam, result)) return result;
  if (message == WM_NCDESTROY) frame->hwnd_ = nullptr;
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// -- Picture boxes -----------------------------------------------------------------
PictureBox::PictureBox(Container &parent) : parent_(parent) {}

PictureBox::~PictureBox() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void PictureBox::Create(long left, long top, long width, long height) {
  RegisterWindowClass(kPictureClass, &PictureBox::WindowProc);
  CreateWindowExW(0, kPictureClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, PixelsX(left), PixelsY(top),
                  PixelsX(width), PixelsY(height), parent_.Hwnd(), nullptr, Instance(), this);
}

void PictureBox::SetBackColour(COLORREF colour) {
  back_ = colour;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void PictureBox::SetPicture(Picture picture) {
  picture_ = std::move(picture);
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void PictureBox::DrawPicture(Picture picture, int x, int y) {
  drawn_.push_back({std::move(picture), x, y});
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void PictureBox::Clear() {
  drawn_.clear();
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void PictureBox::Paint(HDC dc) {
  FillClient(hwnd_, dc, back_);
  RECT client;
  GetClientRect(hwnd_, &client);
  DrawBitmap(dc, picture_.get(), 0, 0, client.right, client.bottom);
  for (const Drawn &d : drawn_) DrawBitmap(dc, d.picture.get(), d.x, d.y, client.right - d.x, client.bottom - d.y);
}

LRESULT CALLBACK PictureBox::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  PictureBox *box = Attach<PictureBox>(hwnd, message, lParam);
  if (!box) return DefWindowProcW(hwnd, message, wParam, lParam);
  LRESULT result = 0;
  if (HandleOwnPaint(hwnd, message, wParam, [box](HDC dc) { box->Paint(dc); }, result)) return result;
  switch (message) {
    case WM_NCCREATE:
      box->hwnd_ = hwnd;
      break;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && (box->cursor_ || IsPointerHourglass())) {
        ::SetCursor(IsPointerHourglass() ? Hourglass() : box->cursor_);
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
      box->pressed_ = true;
      SetCapture(hwnd);
      return 0;
    case WM_LBUTTONUP: {
      const bool wasPressed = box->pressed_;
      box->pressed_ = false;
      ReleaseCapture();
      RECT client;
      GetClientRect(hwnd, &client);
      const POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (wasPressed && PtInRect(&client, p) && box->OnClick) box->OnClick();
      return 0;
    }
    case WM_NCDESTROY:
      box->hwnd_ = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// -- Combo boxes -------------------------------------------------------------------
void ComboBox::Create(long left, long top, long width, long height, int listRows) {
  // The height given is that of the edit part; the list drops below it.
  const int editHeight = PixelsY(height);
  hwnd_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"COMBOBOX", L"",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                          PixelsX(left), PixelsY(top), PixelsX(width), editHeight * (listRows + 1),
                          parent_.Hwnd(), nullptr, Instance(), nullptr);
  if (HFONT font = parent_.OwnerForm().Font()) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  SendMessageW(hwnd_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), editHeight - 6);
}

void ComboBox::SetText(const std::wstring &text) { SetWindowTextA(hwnd_, ToAnsi(text).c_str()); }

std::wstring ComboBox::Text() const {
  char buffer[1024] = "";
  GetWindowTextA(hwnd_, buffer, sizeof buffer);
  return FromAnsi(buffer);
}

void ComboBox::AddItem(const std::wstring &item) {
  SendMessageA(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToAnsi(item).c_str()));
}

int ComboBox::ListCount() const { return static_cast<int>(SendMessageW(hwnd_, CB_GETCOUNT, 0, 0)); }

std::wstring ComboBox::ListItem(int index) const {
  char buffer[256] = "";
  if (SendMessageA(hwnd_, CB_GETLBTEXTLEN, index, 0) >= static_cast<LRESULT>(sizeof buffer)) return {};
  SendMessageA(hwnd_, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer));
  return FromAnsi(buffer);
}

void ComboBox::SetEnabled(bool enabled) { EnableWindow(hwnd_, enabled); }

bool ComboBox::Enabled() const { return IsWindowEnabled(hwnd_) != FALSE; }

// -- Custom control sites ------------------------------------------------------------
void FormControlSite::Attach(HWND control, std::function<void()> accessKeyPressed) {
  control_ = control;
  accessKeyPressed_ = std::move(accessKeyPressed);
  if (!pendingKeys_.empty()) SetAccessKeys(pendingKeys_);
}

Colour FormControlSite::AmbientBackColour() { return static_cast<Colour>(container_.BackColour()); }

// The focused push button is shown as the default one, as in dialogs.
bool FormControlSite::AmbientDisplayAsDefault() { return control_ && GetFocus() == control_; }

std::vector<std::wstring> FormControlSite::PushButtonCaptions() {
  return ButtonCaptions ? ButtonCaptions() : std::vector<std::wstring>{};
}

void FormControlSite::SetAccessKeys(const std::wstring &keys) {
  pendingKeys_ = keys;
  if (!control_) return;
  container_.OwnerForm().SetAccessKeys(control_, keys, [this] {
    if (accessKeyPressed_) accessKeyPressed_();
  });
}

void FormControlSite::SendTab(bool backwards) { container_.OwnerForm().TabToNext(backwards); }

std::uintptr_t FormControlSite::ContainerWindow() {
  return reinterpret_cast<std::uintptr_t>(container_.OwnerForm().Hwnd());
}

}  // namespace formkit
