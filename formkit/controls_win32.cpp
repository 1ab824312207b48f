// Controls on forms: lightweight labels and images, group frames, picture
// boxes, combo boxes, and the site custom controls see of their form.
#include <algorithm>

#include "form_kit_internal_win32.h"

#include "child_notifications_win32.h"
#include "paint_win32.h"
#include "report_failure_win32.h"
#include "shared_names.h"
#include "text_win32.h"

namespace formkit {

using namespace internal;

namespace {
// Text in its own colour, or in the scheme's while high contrast is on and
// the container's form follows it.
COLORREF TextColour(Container &container, COLORREF own) {
  const std::optional<ContrastColours> contrast = container.Contrast();
  return contrast ? contrast->text : own;
}

const binding::WindowClass kGroupClass = {BRUMALIS_GROUP_FRAME_CLASS, CS_DBLCLKS};
const binding::WindowClass kPictureClass = {BRUMALIS_PICTURE_BOX_CLASS, CS_DBLCLKS};
const binding::WindowClass kKeyboardStopClass = {BRUMALIS_KEYBOARD_STOP_CLASS};
}  // namespace

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

namespace internal {
void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y, int maxWidth, int maxHeight) {
  if (!bitmap || maxWidth <= 0 || maxHeight <= 0) return;
  BITMAP info = {};
  GetObjectW(bitmap, sizeof info, &info);
  const int w = ScaledX(info.bmWidth), h = ScaledY(info.bmHeight);
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, bitmap);
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, x, y, x + maxWidth, y + maxHeight);
  if (w == info.bmWidth && h == info.bmHeight) {
    BitBlt(dc, x, y, w, h, source, 0, 0, SRCCOPY);
  } else {
    // Averaged rather than repeated pixels: at 120 or 144 DPI every other
    // line of a picture would come out twice as thick as its neighbours.
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, x, y, w, h, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
  }
  RestoreDC(dc, saved);
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
  std::size_t bytes = 0;
  ansiOnly_ = RoundTripsThroughAnsi(caption_, &bytes);
  ansiCaption_ = ansiOnly_ ? ToAnsi(caption_) : std::string();
  Invalidate();
}

void Label::SetFocusShown(bool shown) {
  if (focusShown_ == shown) return;
  focusShown_ = shown;
  if (container_.Hwnd()) InvalidateRect(container_.Hwnd(), nullptr, FALSE);
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
    SIZE size = {};
    if (ansiOnly_) {
      GetTextExtentPoint32A(dc, ansiCaption_.c_str(), static_cast<int>(ansiCaption_.size()), &size);
    } else {
      GetTextExtentPoint32W(dc, caption_.c_str(), static_cast<int>(caption_.size()), &size);
    }
    r.right = std::max<LONG>(r.right, r.left + size.cx);
  }
  if (old) SelectObject(dc, old);
  // The focus rectangle lies just outside the text.
  if (focusShown_) InflateRect(&r, 1, 1);
  return r;
}

void Label::Paint(HDC dc) {
  HGDIOBJ old = nullptr;
  if (HFONT font = container_.OwnerForm().Font()) old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, TextColour(container_, fore_));
  const RECT outside = PaintBounds(dc);
  RECT r = outside;
  if (focusShown_) InflateRect(&r, -1, -1);
  // No access-key prefix: a label may show a file path with "&" in it.
  const UINT format = DT_LEFT | DT_TOP | DT_NOPREFIX | (SingleLine(dc) ? DT_SINGLELINE : DT_WORDBREAK);
  // Text the ANSI code page holds is drawn through it, as the form has always
  // drawn (a Japanese font shows the path separator as a yen sign there);
  // a file name beyond it is drawn as it is rather than with question marks.
  if (ansiOnly_) {
    DrawTextA(dc, ansiCaption_.c_str(), static_cast<int>(ansiCaption_.size()), &r, format);
  } else {
    DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r, format);
  }
  if (focusShown_) DrawFocusRect(dc, &outside);
  if (old) SelectObject(dc, old);
}

// -- Group frames ----------------------------------------------------------------
GroupFrame::GroupFrame(Container &parent, std::wstring caption) : parent_(parent), caption_(std::move(caption)) {}

bool GroupFrame::Create(long left, long top, long width, long height, HWND parentWindow) {
  return CreateBound(kGroupClass, WS_EX_CONTROLPARENT, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, "",
                PixelsX(left), PixelsY(top), PixelsX(width), PixelsY(height),
                parentWindow ? parentWindow : parent_.Hwnd());
}

void GroupFrame::PaintBackground(HDC dc) {
  Container::PaintBackground(dc);
  RECT client;
  GetClientRect(Hwnd(), &client);
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
  // The caption's indent and margins grow with the DPI, as its font does.
  const int indent = ScaledX(8), margin = ScaledX(2);
  RECT captionBox = {indent, 0, indent + margin + size.cx + margin, tm.tmHeight};
  HBRUSH brush = CreateSolidBrush(BackColour());
  FillRect(dc, &captionBox, brush);
  DeleteObject(brush);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, TextColour(*this, RGB(0, 0, 0)));
  TextOutA(dc, indent + margin, 0, text.c_str(), static_cast<int>(text.size()));
  if (old) SelectObject(dc, old);
}

LRESULT GroupFrame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (HandleContainer(message, wParam, lParam, result)) return result;
  return DefaultHandling(message, wParam, lParam);
}

// -- Picture boxes -----------------------------------------------------------------
bool KeyboardStop::Create(HWND parent, bool tabStop) {
  return CreateBound(kKeyboardStopClass, 0, WS_CHILD | WS_VISIBLE | (tabStop ? WS_TABSTOP : 0), "", 0, 0, 0, 0, parent);
}

LRESULT KeyboardStop::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_GETOBJECT: {
      LRESULT result = 0;
      if (accessible.Answer(Hwnd(), wParam, lParam, result)) return result;
      return DefaultHandling(message, wParam, lParam);
    }
    case WM_KEYDOWN:
      if (OnKeyDown) OnKeyDown(static_cast<UINT>(wParam));
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (OnFocus) OnFocus(message == WM_SETFOCUS);
      return 0;
    case WM_PAINT:
      ValidateRect(Hwnd(), nullptr);
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

bool PictureBox::Create(long left, long top, long width, long height) {
  return CreateBound(kPictureClass, 0, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, "", PixelsX(left), PixelsY(top),
                PixelsX(width), PixelsY(height), parent_.Hwnd());
}

void PictureBox::SetBackColour(COLORREF colour) {
  back_ = colour;
  if (Hwnd()) InvalidateRect(Hwnd(), nullptr, FALSE);
}

void PictureBox::SetPicture(Picture picture) {
  picture_ = std::move(picture);
  if (Hwnd()) InvalidateRect(Hwnd(), nullptr, FALSE);
}

void PictureBox::DrawPicture(Picture picture, int x, int y) {
  drawn_.push_back({std::move(picture), x, y});
  if (Hwnd()) InvalidateRect(Hwnd(), nullptr, FALSE);
}

void PictureBox::Clear() {
  drawn_.clear();
  if (Hwnd()) InvalidateRect(Hwnd(), nullptr, FALSE);
}

void PictureBox::Paint(HDC dc) {
  FillClient(Hwnd(), dc, back_);
  RECT client;
  GetClientRect(Hwnd(), &client);
  DrawBitmap(dc, picture_.get(), 0, 0, client.right, client.bottom);
  for (const Drawn &d : drawn_) DrawBitmap(dc, d.picture.get(), d.x, d.y, client.right - d.x, client.bottom - d.y);
  if (focused_) {
    InflateRect(&client, -1, -1);
    DrawFocusRect(dc, &client);
  }
}

void PictureBox::MakeLastTabStop() {
  if (!Hwnd()) return;
  SetWindowLongPtrW(Hwnd(), GWL_STYLE, GetWindowLongPtrW(Hwnd(), GWL_STYLE) | WS_TABSTOP);
  SetWindowPos(Hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT PictureBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (HandleOwnPaint(Hwnd(), message, wParam, [this](HDC dc) { Paint(dc); }, result)) return result;
  if (message == WM_GETOBJECT && accessible.Answer(Hwnd(), wParam, lParam, result)) return result;
  switch (message) {
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && (cursor_ || IsPointerHourglass())) {
        ::SetCursor(IsPointerHourglass() ? Hourglass() : cursor_);
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
      pressed_ = true;
      SetCapture(Hwnd());
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      focused_ = message == WM_SETFOCUS;
      InvalidateRect(Hwnd(), nullptr, FALSE);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_RETURN && OnClick) OnClick();
      return 0;
    case WM_LBUTTONUP: {
      const bool wasPressed = pressed_;
      pressed_ = false;
      ReleaseCapture();
      RECT client;
      GetClientRect(Hwnd(), &client);
      const POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (wasPressed && PtInRect(&client, p) && OnClick) OnClick();
      return 0;
    }
    default:
      break;
  }
  return DefaultHandling(message, wParam, lParam);
}

// -- Combo boxes -------------------------------------------------------------------
bool ComboBox::Create(long left, long top, long width, long height, int listRows) {
  // The height given is that of the edit part; the list drops below it.
  const int editHeight = PixelsY(height);
  const HWND box = CreateWindowExW(WS_EX_CLIENTEDGE, L"COMBOBOX", L"",
                                   WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                                   PixelsX(left), PixelsY(top), PixelsX(width), editHeight * (listRows + 1),
                                   parent_.Hwnd(), nullptr, Instance(), nullptr);
  if (!box) {
    binding::ReportFailure("creating a combo box");
    return false;
  }
  if (!Attach(box, binding::Ownership::Own)) {
    DestroyWindow(box);
    return false;
  }
  if (HFONT font = parent_.OwnerForm().Font()) SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  SendMessageW(box, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), editHeight - 6);
  return true;
}

LRESULT ComboBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (message == WM_GETOBJECT && accessible.Answer(Hwnd(), wParam, lParam, result)) return result;
  return DefaultHandling(message, wParam, lParam);
}

void ComboBox::SetText(const std::wstring &text) { SetWindowTextA(Hwnd(), ToAnsi(text).c_str()); }

std::wstring ComboBox::Text() const {
  char buffer[1024] = "";
  GetWindowTextA(Hwnd(), buffer, sizeof buffer);
  return FromAnsi(buffer);
}

void ComboBox::AddItem(const std::wstring &item) {
  SendMessageA(Hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToAnsi(item).c_str()));
}

int ComboBox::ListCount() const { return static_cast<int>(SendMessageW(Hwnd(), CB_GETCOUNT, 0, 0)); }

std::wstring ComboBox::ListItem(int index) const {
  char buffer[256] = "";
  if (SendMessageA(Hwnd(), CB_GETLBTEXTLEN, index, 0) >= static_cast<LRESULT>(sizeof buffer)) return {};
  SendMessageA(Hwnd(), CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer));
  return FromAnsi(buffer);
}

void ComboBox::SetEnabled(bool enabled) { EnableWindow(Hwnd(), enabled); }

bool ComboBox::Enabled() const { return IsWindowEnabled(Hwnd()) != FALSE; }

// -- Custom control sites ------------------------------------------------------------
void FormControlSite::Attach(HWND control, std::function<void()> accessKeyPressed) {
  control_ = control;
  accessKeyPressed_ = std::move(accessKeyPressed);
  if (!pendingKeys_.empty()) SetAccessKeys(pendingKeys_);
}

Colour FormControlSite::AmbientBackColour() { return static_cast<Colour>(container_.BackColour()); }

// The focused push button is shown as the default one, as in dialogs.
bool FormControlSite::AmbientDisplayAsDefault() { return control_ && GetFocus() == control_; }

void FormControlSite::PropertyChanged(const std::wstring &name) {
  if (name == L"Caption") NotifyPart(EVENT_OBJECT_NAMECHANGE, control_, 0);
  if (name == L"Enabled") NotifyPart(EVENT_OBJECT_STATECHANGE, control_, 0);
}

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
