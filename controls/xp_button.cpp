#include "xp_button.h"

#include <algorithm>
#include <cwctype>

#include "ascii.h"
#include "numbers.h"
#include "screen_units.h"

namespace {

constexpr Colour kUnused = kNoPixel;

// 100 twips, the least width and height of a button.
constexpr int kMinimumTwips = 100;

int Channel(int bottom, float step, int i) {
  // The step is held in single precision; the row's value is not.
  const auto value = RoundToInt32(bottom + i * static_cast<double>(step));
  return std::clamp(value.value_or(bottom), 0, 255);
}

wchar_t LowerCase(wchar_t c) {
  if (c < 128) return LowerAscii(c);
  return static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(c)));
}

}  // namespace

Palette InitPalette() {
  //                     Disabled              Normal               Focused               Hot                  Pressed
  return Palette{{
      /* outline  */ {Rgb(201, 199, 186), Rgb(0, 60, 116), Rgb(0, 60, 116), Rgb(0, 60, 116), Rgb(0, 60, 116)},
      /* row 1    */ {kUnused, Rgb(255, 255, 255), Rgb(206, 231, 255), Rgb(255, 243, 206), kUnused},
      /* row 2    */ {kUnused, Rgb(254, 254, 254), Rgb(189, 215, 247), Rgb(255, 219, 140), kUnused},
      /* row H-3  */ {kUnused, Rgb(226, 223, 214), Rgb(140, 174, 231), Rgb(255, 178, 49), kUnused},
      /* row H-2  */ {kUnused, Rgb(214, 208, 197), Rgb(107, 130, 239), Rgb(230, 150, 0), kUnused},
      /* edge top */ {kUnused, Rgb(252, 252, 251), Rgb(189, 211, 247), Rgb(225, 223, 156), kUnused},
      /* edge bot */ {kUnused, Rgb(236, 235, 230), Rgb(140, 174, 231), Rgb(255, 182, 48), kUnused},
      /* face top */ {kUnused, Rgb(252, 252, 251), Rgb(252, 252, 251), Rgb(252, 252, 251), kUnused},
      /* face bot */ {kUnused, Rgb(236, 235, 230), Rgb(236, 235, 230), Rgb(236, 235, 230), kUnused},
      /* flat     */ {Rgb(245, 244, 234), kUnused, kUnused, kUnused, Rgb(231, 227, 222)},
      /* corner 1 */ {Rgb(206, 199, 189), Rgb(123, 150, 173), Rgb(123, 150, 173), Rgb(123, 150, 173), Rgb(123, 150, 173)},
      /* corner 2 */ {Rgb(196, 177, 140), Rgb(33, 85, 132), Rgb(33, 85, 132), Rgb(33, 85, 132), Rgb(33, 85, 132)},
      /* diagonal */ {Rgb(196, 177, 140), Rgb(82, 125, 165), Rgb(82, 125, 165), Rgb(82, 125, 165), Rgb(82, 125, 165)},
  }};
}

Palette ContrastPalette(const ContrastColours &c) {
  const Colour face = c.face, text = c.text, mark = c.highlight, grey = c.grayText;
  // The pixel one step from each corner takes the background, the two next
  // to it the outline: a clean bevelled corner instead of blended pixels.
  //                  Disabled  Normal    Focused   Hot       Pressed
  const std::array<Colour, 5> outline = {grey, text, text, mark, mark};
  const std::array<Colour, 5> band = {kUnused, face, mark, mark, kUnused};
  const std::array<Colour, 5> plain = {kUnused, face, face, face, kUnused};
  return Palette{{
      /* outline  */ outline,
      /* row 1    */ band,
      /* row 2    */ band,
      /* row H-3  */ band,
      /* row H-2  */ band,
      /* edge top */ band,
      /* edge bot */ band,
      /* face top */ plain,
      /* face bot */ plain,
      /* flat     */ {face, kUnused, kUnused, kUnused, face},
      /* corner 1 */ {face, face, face, face, face},
      /* corner 2 */ outline,
      /* diagonal */ outline,
  }};
}

void DrawGradient(Surface &surface, Box box, Colour top, Colour bottom) {
  const int n = box.b - box.t;
  if (n < 0) return;
  const int divisor = std::max(n, 1);
  const float stepRed = static_cast<float>(RedOf(top) - RedOf(bottom)) / divisor;
  const float stepGreen = static_cast<float>(GreenOf(top) - GreenOf(bottom)) / divisor;
  const float stepBlue = static_cast<float>(BlueOf(top) - BlueOf(bottom)) / divisor;
  for (int i = 0; i <= n; ++i) {
    const Colour c = Rgb(Channel(RedOf(bottom), stepRed, i), Channel(GreenOf(bottom), stepGreen, i),
                         Channel(BlueOf(bottom), stepBlue, i));
    DrawLine(surface, box.l, box.b - i, box.r, box.b - i, c);
  }
}

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

// -- Painting --------------------------------------------------------------------

void XpButton::Redraw(std::int32_t state) {
  if (fields_.PaintSuppressed() || state < Disabled || state > Pressed) return;
  fields_.VisualState = state;
  Surface &image = window_.Image();
  const int w = image.Width(), h = image.Height();
  const std::optional<ContrastColours> contrast = site_.AmbientContrast();
  const Palette &palette = contrast ? ContrastPalette(*contrast) : palette_;
  const auto colour = [&](PaletteRow row) { return palette[row][state]; };

  image.Clear(contrast ? contrast->face : site_.AmbientBackColour());

  const Colour outline = colour(kOutline);
  DrawLine(image, 3, 0, w - 3, 0, outline);
  DrawLine(image, 0, 3, 0, h - 3, outline);
  DrawLine(image, 3, h - 1, w - 3, h - 1, outline);
  DrawLine(image, w - 1, 3, w - 1, h - 3, outline);

  if (state == Disabled || state == Pressed) {
    FillSolid(image, {1, 1, w - 1, h - 1}, colour(kFlatFace));
  } else {
    // The first gradient shows only in the two-pixel bands left and right of
    // the face, which carry the state's edge colour.
    DrawGradient(image, {1, 3, w - 1, h - 2}, colour(kEdgeTop), colour(kEdgeBottom));
    DrawGradient(image, {3, 3, w - 3, h - 3}, colour(kFaceTop), colour(kFaceBottom));
    DrawLine(image, 1, 1, w, 1, colour(kRow1Line));
    DrawLine(image, 1, 2, w, 2, colour(kRow2Line));
    DrawLine(image, 1, h - 3, w, h - 3, colour(kRowHMinus3Line));
    DrawLine(image, 2, h - 2, w - 1, h - 2, colour(kRowHMinus2Line));
  }

  // Anti-aliased corners: the pixels one and two steps from each corner and
  // the one diagonally inside it.
  const Colour one = colour(kCornerOneStep), two = colour(kCornerTwoSteps), diagonal = colour(kCornerDiagonal);
  for (const auto &p : {std::pair{0, 1}, {1, 0}, {w - 1, 1}, {w - 2, 0}, {0, h - 2}, {1, h - 1}, {w - 1, h - 2},
                        {w - 2, h - 1}})
    image.SetPixel(p.first, p.second, one);
  for (const auto &p : {std::pair{0, 2}, {2, 0}, {w - 1, 2}, {w - 3, 0}, {0, h - 3}, {2, h - 1}, {w - 1, h - 3},
                        {w - 3, h - 1}})
    image.SetPixel(p.first, p.second, two);
  for (const auto &p : {std::pair{1, 1}, {w - 2, 1}, {1, h - 2}, {w - 2, h - 2}})
    image.SetPixel(p.first, p.second, diagonal);

  // The window's shape, a rectangle one pixel wider and higher than the
  // image, with 3 x 3 corner ellipses.
  window_.SetRoundedShape(w + 1, h + 1, 3);

  // A repaint asked for while the caption is drawn must not paint over it.
  fields_.DrawingCaption = true;
  const Box text = {3, 3, w - 3, h - 3};
  Colour textColour = fields_.Enabled ? fields_.ForeColor : kDisabledCaptionColour;
  if (contrast) textColour = fields_.Enabled ? contrast->text : contrast->grayText;
  image.DrawCaption(fields_.Caption, text, textColour, fields_.pFONT);
  if (fields_.HasFocus && fields_.FocusRect && state > Normal) image.DrawFocusRect(text);
  fields_.DrawingCaption = false;
}

void XpButton::SnapMouseTo() {
  int x = 0, y = 0;
  window_.ClientOriginOnScreen(x, y);
  const auto cx = RoundToInt32(x + W() / 2.0), cy = RoundToInt32(y + H() / 2.0);
  if (cx && cy) window_.MoveMouseTo(*cx, *cy);
}
