// Windowed controls: group frames, keyboard stops, picture boxes and combo
// boxes.
#include "form_kit_internal_win32.h"

#include "child_notifications_win32.h"
#include "paint_win32.h"
#include "report_failure_win32.h"
#include "shared_names.h"
#include "text_win32.h"

namespace formkit {

using namespace internal;

namespace {
const binding::WindowClass kGroupClass = {BRUMALIS_GROUP_FRAME_CLASS, CS_DBLCLKS};
const binding::WindowClass kPictureClass = {BRUMALIS_PICTURE_BOX_CLASS, CS_DBLCLKS};
const binding::WindowClass kKeyboardStopClass = {BRUMALIS_KEYBOARD_STOP_CLASS};
}  // namespace

// -- Group frames --------------------------------------------------------------
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

// -- Keyboard stops ------------------------------------------------------------
bool KeyboardStop::Create(HWND parent, bool tabStop) {
  return CreateBound(kKeyboardStopClass, 0, WS_CHILD | WS_VISIBLE | (tabStop ? WS_TABSTOP : 0), "", 0, 0, 0, 0, parent);
}

LRESULT KeyboardStop::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_GETOBJECT: {
      LRESULT result = 0;
      if (accessible_.Answer(Hwnd(), wParam, lParam, result)) return result;
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

Box KeyboardStop::OnScreen(RECT inParent) const {
  MapWindowPoints(GetParent(Hwnd()), nullptr, reinterpret_cast<POINT *>(&inParent), 2);
  return ScreenBox(inParent);
}

void KeyboardStop::ReadAs(const Label &label) {
  accessible_.facts = [this, &label](int) {
    AccessibleFacts facts;
    facts.role = AccessibleRole::StaticText;
    facts.name = label.Caption();
    facts.state = kAccessibleReadOnly;
    facts.screen = OnScreen(label.Bounds());
    return facts;
  };
}

void KeyboardStop::StandForOptions(std::wstring name, std::vector<Option> options, std::function<int()> checkedPart,
                                   std::function<int()> focusedPart, std::function<void(int part)> choose) {
  const int count = static_cast<int>(options.size());
  accessible_.count = [count] { return count; };
  accessible_.focusedPart = focusedPart;
  accessible_.facts = [this, name, options, checkedPart, focusedPart](int part) {
    const auto bounds = [](const Option &option) {
      RECT r;
      const RECT mark = option.mark->Bounds(), caption = option.caption->Bounds();
      UnionRect(&r, &mark, &caption);
      return r;
    };
    AccessibleFacts facts;
    RECT r = {};
    if (part == 0) {
      facts.role = AccessibleRole::Grouping;
      facts.name = name;
      for (const Option &option : options) {
        const RECT each = bounds(option);
        UnionRect(&r, &r, &each);
      }
    } else {
      const Option &option = options[part - 1];
      facts.role = AccessibleRole::RadioButton;
      facts.name = option.caption->Caption();
      const bool focused = GetFocus() == Hwnd() && part == focusedPart();
      facts.state = kAccessibleFocusable | (part == checkedPart() ? kAccessibleChecked : 0u) |
                    (focused ? kAccessibleFocused : 0u);
      facts.defaultAction = L"\u30c1\u30a7\u30c3\u30af";  // チェック
      r = bounds(option);
    }
    facts.screen = OnScreen(r);
    return facts;
  };
  accessible_.doDefault = [choose](int part) {
    if (part > 0) choose(part);
  };
}

// -- Picture boxes -------------------------------------------------------------
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
  if (message == WM_GETOBJECT && accessible_.Answer(Hwnd(), wParam, lParam, result)) return result;
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

void PictureBox::ActAsLink(std::wstring target, bool focusable) {
  accessible_.facts = [this, target, focusable](int) {
    AccessibleFacts facts;
    facts.role = AccessibleRole::Link;
    facts.name = target;
    facts.state = kAccessibleLinked | (focusable ? kAccessibleFocusable : 0u) |
                  (GetFocus() == Hwnd() ? kAccessibleFocused : 0u);
    facts.defaultAction = L"\u30b8\u30e3\u30f3\u30d7";  // ジャンプ
    facts.screen = WindowOnScreen(Hwnd());
    return facts;
  };
  accessible_.doDefault = [this](int) {
    if (OnClick) OnClick();
  };
}

// -- Combo boxes ---------------------------------------------------------------
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
  accessible_.facts = [this](int) {
    AccessibleFacts facts;
    facts.role = AccessibleRole::ComboBox;
    facts.name = accessibleName_;
    facts.value = Text();
    const HWND focus = GetFocus();
    const bool focused = focus && (focus == Hwnd() || IsChild(Hwnd(), focus));
    facts.state = kAccessibleFocusable | (focused ? kAccessibleFocused : 0u) | (Enabled() ? 0u : kAccessibleUnavailable) |
                  (Dropped() ? kAccessibleExpanded : kAccessibleCollapsed);
    facts.defaultAction = L"\u958b\u304f";  // 開く
    facts.screen = WindowOnScreen(Hwnd());
    return facts;
  };
  accessible_.doDefault = [this](int) { SendMessageW(Hwnd(), CB_SHOWDROPDOWN, !Dropped(), 0); };
  return true;
}

bool ComboBox::Dropped() const { return SendMessageW(Hwnd(), CB_GETDROPPEDSTATE, 0, 0) != 0; }

LRESULT ComboBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (message == WM_GETOBJECT && accessible_.Answer(Hwnd(), wParam, lParam, result)) return result;
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

}  // namespace formkit
