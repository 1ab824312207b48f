#include "xp_button.h"

#include <algorithm>
#include <cwctype>

#include "ascii.h"
#include "numbers.h"
#include "screen_units.h"

namespace {

// 100 twips, the least width and height of a button.
constexpr int kMinimumTwips = 100;

wchar_t LowerCase(wchar_t c) {
  if (c < 128) return LowerAscii(c);
  return static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(c)));
}

}  // namespace

std::wstring GetAccessKey(const std::wstring &caption) {
  const std::size_t n = caption.size();
  std::size_t p = 1;  // positions count from 1
  while (n > 0 && p + 1 < n) {
    const std::size_t amp = caption.find(L'&', p - 1);
    if (amp == std::wstring::npos || amp + 1 >= n) return {};
    const wchar_t c = LowerCase(caption[amp + 1]);
    if (c != L'&') return std::wstring(1, c);
    p = amp + 1 + 2;  // past the "&&"
  }
  return {};
}

std::wstring CaptionText(const std::wstring &caption) {
  std::wstring text;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == L'&' && ++i == caption.size()) break;
    text += caption[i];
  }
  return text;
}

XpButton::XpButton(ControlSite &site, ControlWindow &window, WindowHooks &hooks)
    : site_(site), window_(window), hooks_(hooks), palette_(InitPalette()) {}

// -- Properties ----------------------------------------------------------------

void XpButton::SetCaption(const std::wstring &caption) {
  fields_.Caption = caption;
  site_.SetAccessKeys(GetAccessKey(fields_.Caption));
  Redraw(fields_.VisualState);
  site_.PropertyChanged(L"Caption");
}

void XpButton::SetEnabled(bool enabled) {
  fields_.Enabled = enabled;
  window_.EnableInput(enabled);
  fields_.EnabledAssigned = true;
  if (fields_.MouseOver && enabled) {
    Show(Hot);
  } else if (fields_.IsDefault && enabled) {
    Show(Focused);
  } else {
    ShowIfNew(enabled ? Normal : Disabled);
  }
  site_.PropertyChanged(L"Enabled");
}

void XpButton::SetFont(const FontSpec &font) {
  fields_.pFONT = font;
  FontChanged();
}

void XpButton::FontChanged() {
  Redraw(fields_.VisualState);
  site_.PropertyChanged(L"Font");
}

void XpButton::SetForeColor(Colour colour) {
  fields_.ForeColor = colour;
  Redraw(fields_.VisualState);
  site_.PropertyChanged(L"ForeColor");
}

void XpButton::SetFocusRect(bool on) {
  fields_.FocusRect = on;
  if (fields_.HasFocus) Redraw(fields_.VisualState);
  site_.PropertyChanged(L"FocusRect");
}

// -- Container notifications ---------------------------------------------------

void XpButton::ReadProperties(const PropertyBag &bag) {
  fields_.ContainerWnd = site_.ContainerWindow();
  ReadStored(bag);
  // Inside a designer the windows are not hooked: the button never becomes
  // active there, and clicks only by key.
  if (site_.UserMode()) {
    const std::uintptr_t own = window_.Handle();
    hooks_.HookWindow(own);
    hooks_.AddHookMessage(own, hooks_.CodeOf(HookedMessage::PointerLeft), kHookAfter);
    hooks_.HookWindow(fields_.ContainerWnd);
    const HookedMessage activation =
        site_.ContainerIsMdiChild() ? HookedMessage::NcActivated : HookedMessage::Activated;
    hooks_.AddHookMessage(fields_.ContainerWnd, hooks_.CodeOf(activation), kHookAfter);
    fields_.Hooked = true;
  }
  fields_.EnabledAssigned = true;
  Redraw(fields_.VisualState);
}

int XpButton::MinimumPixels() { return PixelsCovering(kMinimumTwips, site_.ScreenDpiX()); }

void XpButton::Resize() {
  const bool wasCorrecting = fields_.CorrectingSize;
  const int minimum = MinimumPixels();
  // Changing the size notifies again; painting stays off until both sides are right.
  if (H() < minimum) {
    fields_.CorrectingSize = true;
    window_.SetPixelSize(W(), minimum);
  }
  if (W() < minimum) {
    fields_.CorrectingSize = true;
    window_.SetPixelSize(minimum, H());
  }
  fields_.CorrectingSize = wasCorrecting;
  if (!fields_.PaintSuppressed()) Redraw(fields_.VisualState);
}

void XpButton::AmbientChanged(const std::wstring &name) {
  fields_.IsDefault = site_.AmbientDisplayAsDefault();
  if (fields_.Enabled && !fields_.MouseOver && name == L"DisplayAsDefault") {
    if (fields_.IsDefault) {
      Show(Focused);
    } else {
      ShowIfNew(Normal);
    }
  }
}

void XpButton::End() {
  if (!fields_.Hooked) return;
  fields_.Hooked = false;
  hooks_.UnhookWindow(window_.Handle());
  hooks_.UnhookWindow(fields_.ContainerWnd);
}

// -- Input ---------------------------------------------------------------------

void XpButton::RaiseClick() {
  if (Click) Click();
}

AccessibleFacts XpButton::Describe(const Box &screen, bool focused) const {
  AccessibleFacts facts;
  facts.role = AccessibleRole::PushButton;
  facts.name = CaptionText(fields_.Caption);
  facts.state = kAccessibleFocusable | (focused ? kAccessibleFocused : 0u) |
                (fields_.Enabled ? 0u : kAccessibleUnavailable) | (fields_.IsDefault ? kAccessibleDefault : 0u);
  facts.defaultAction = L"\u62bc\u3059";  // 押す
  facts.screen = screen;
  return facts;
}

void XpButton::DoDefaultAction() {
  if (fields_.Enabled) RaiseClick();
}

void XpButton::OnMouseDown(std::int16_t button, std::int16_t, float, float) {
  fields_.LastButton = button;
  if (button != kLeftButton) return;
  fields_.HasFocus = fields_.Armed = fields_.MouseHeld = true;
  ShowIfNew(Pressed);
}

void XpButton::OnMouseMove(std::int16_t button, std::int16_t shift, float x, float y) {
  fields_.MouseOver = x >= 0 && x <= W() && y >= 0 && y <= H();
  if (fields_.MouseOver) window_.TrackMouseLeave();
  if (!fields_.FormActive || fields_.SpaceHeld) return;
  if (fields_.MouseOver) {
    ShowIfNew(fields_.Armed ? Pressed : Hot);
  } else {
    ShowIfNew(fields_.HasFocus ? Focused : Normal);
  }
  if (MouseMove) MouseMove(button, shift, x, y);
}

void XpButton::OnMouseUp(std::int16_t button, std::int16_t, float, float) {
  if (button != kLeftButton) return;
  bool click = false;
  if (fields_.FormActive) {
    if (fields_.MouseOver) {
      ShowIfNew(Hot);
    } else if (fields_.HasFocus) {
      Show(Focused);
    }
    click = fields_.MouseOver && fields_.HasFocus && fields_.Armed;
  }
  // The press is over before Click runs, so a handler that opens a modal
  // window does not leave the button armed behind it.
  fields_.Armed = fields_.MouseHeld = false;
  if (click) RaiseClick();
}

void XpButton::OnDblClick() {
  if (fields_.LastButton != kLeftButton) return;
  Show(Pressed);
  if (DblClick) DblClick();
}

void XpButton::OnKeyDown(ButtonKey key) {
  switch (key) {
    case ButtonKey::Enter:
      RaiseClick();  // once per key-down, auto-repeat included
      break;
    case ButtonKey::Space:
      if (fields_.MouseHeld) break;
      fields_.SpaceHeld = fields_.Armed = true;
      ShowIfNew(Pressed);
      break;
    case ButtonKey::Left:
    case ButtonKey::Up:
      site_.SendTab(true);
      break;
    case ButtonKey::Right:
    case ButtonKey::Down:
      site_.SendTab(false);
      break;
    case ButtonKey::Other:
      break;
  }
}

void XpButton::OnKeyUp(ButtonKey key) {
  if (key != ButtonKey::Space || fields_.MouseHeld) return;
  if (fields_.MouseOver) {
    ShowIfNew(Hot);
  } else {
    Show(Focused);
  }
  const bool click = fields_.Armed;
  fields_.SpaceHeld = fields_.Armed = false;
  if (click) RaiseClick();
}

void XpButton::OnAccessKey() {
  if (!fields_.Enabled) return;
  if (fields_.SpaceHeld) {
    // The access key cancels a Space press instead of clicking.
    fields_.SpaceHeld = fields_.Armed = false;
    if (fields_.MouseOver) {
      ShowIfNew(Hot);
    } else {
      Show(Focused);
    }
    return;
  }
  // Pending messages first, so the focus change the access key caused has
  // been painted before the handler runs.
  site_.DoEvents();
  RaiseClick();
}

void XpButton::OnGotFocus() {
  fields_.HasFocus = true;
  if (fields_.MouseOver) {
    if (fields_.VisualState != Hot && fields_.VisualState != Pressed) Show(Hot);
  } else if (!fields_.Armed) {
    Show(Focused);
  }
}

void XpButton::OnLostFocus() {
  fields_.HasFocus = fields_.Armed = fields_.SpaceHeld = false;
  if (!fields_.Enabled) return;
  if (!fields_.FormActive) {
    ShowIfNew(Normal);
  } else if (fields_.MouseOver) {
    ShowIfNew(Hot);
  } else if (fields_.IsDefault) {
    Show(Focused);
  } else {
    ShowIfNew(Normal);
  }
}

// -- Hooked messages -------------------------------------------------------------

void XpButton::zSubclass_Proc(bool bBefore, bool &, std::intptr_t &, std::uintptr_t &, std::uint32_t &uMsg,
                              std::uintptr_t &wParam, std::intptr_t &) {
  if (bBefore) return;
  if (uMsg == hooks_.CodeOf(HookedMessage::PointerLeft))
    MouseLeft();
  else if (uMsg == hooks_.CodeOf(HookedMessage::Activated) || uMsg == hooks_.CodeOf(HookedMessage::NcActivated))
    ContainerActivated(wParam != 0);
}

void XpButton::MouseLeft() {
  fields_.MouseOver = false;
  if (fields_.SpaceHeld || fields_.VisualState == Disabled) return;
  if (!fields_.HasFocus && !fields_.IsDefault) {
    ShowIfNew(Normal);
  } else if (fields_.VisualState == Pressed) {
    Show(fields_.Armed ? Focused : Normal);
  } else if (fields_.VisualState != Focused && fields_.FormActive) {
    Show(Focused);
  }
}

void XpButton::ContainerActivated(bool active) {
  if (active) {
    fields_.FormActive = true;
    if (fields_.Enabled) {
      if (fields_.MouseOver) {
        ShowIfNew(Hot);
      } else if (fields_.HasFocus || fields_.IsDefault) {
        Show(Focused);
      }
    }
    if (FormActivate) FormActivate(1);
  } else {
    fields_.FormActive = fields_.Armed = fields_.MouseHeld = fields_.SpaceHeld = false;
    if (fields_.Enabled) ShowIfNew(Normal);
    if (FormActivate) FormActivate(0);
  }
}

void XpButton::SnapMouseTo() {
  int x = 0, y = 0;
  window_.ClientOriginOnScreen(x, y);
  const auto cx = RoundToInt32(x + W() / 2.0), cy = RoundToInt32(y + H() / 2.0);
  if (cx && cy) window_.MoveMouseTo(*cx, *cy);
}
