// Lightweight controls: labels and images, painted by their container.
#include <algorithm>

#include "form_kit_internal_win32.h"

#include "text_win32.h"

namespace formkit {

using namespace internal;

namespace internal {
COLORREF TextColour(Container &container, COLORREF own) {
  const std::optional<ContrastColours> contrast = container.Contrast();
  return contrast ? contrast->text : own;
}
}  // namespace internal

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
}  // namespace internal

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

}  // namespace formkit
