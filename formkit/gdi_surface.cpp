#include "gdi_surface.h"

#include <cmath>
#include <string>

#include "form_kit_win32.h"
#include "report_failure_win32.h"
#include "text_win32.h"

GdiSurface::~GdiSurface() {
  if (dc_) {
    SelectObject(dc_, oldBitmap_);
    DeleteDC(dc_);
  }
  if (bitmap_) DeleteObject(bitmap_);
}

void GdiSurface::Resize(int width, int height) {
  if (width < 1) width = 1;
  if (height < 1) height = 1;
  if (dc_ && width == width_ && height == height_) return;
  if (!dc_) {
    dc_ = CreateCompatibleDC(nullptr);
    SetBkMode(dc_, TRANSPARENT);
  }
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void *bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) {
    binding::ReportFailure("making a retained image of %dx%d", width, height);
    return;
  }
  HGDIOBJ previous = SelectObject(dc_, bitmap);
  if (bitmap_) {
    DeleteObject(bitmap_);
  } else {
    oldBitmap_ = previous;
  }
  bitmap_ = bitmap;
  width_ = width;
  height_ = height;
}

void GdiSurface::Show(HDC target) const {
  if (dc_) BitBlt(target, 0, 0, width_, height_, dc_, 0, 0, SRCCOPY);
}

Colour GdiSurface::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return kNoPixel;
  return static_cast<Colour>(::GetPixel(dc_, x, y));
}

void GdiSurface::SetPixel(int x, int y, Colour c) { SetPixelV(dc_, x, y, c); }

void GdiSurface::Clear(Colour c) { FillSolid({0, 0, width_, height_}, c); }

void GdiSurface::Line(int x1, int y1, int x2, int y2, Colour c) {
  HPEN pen = CreatePen(PS_SOLID, 1, c);
  HGDIOBJ old = SelectObject(dc_, pen);
  MoveToEx(dc_, x1, y1, nullptr);
  LineTo(dc_, x2, y2);
  SelectObject(dc_, old);
  DeleteObject(pen);
}

void GdiSurface::FillSolid(Box box, Colour c) {
  // FillRect passes a reversed box on as a negative extent and fills a
  // mirrored box one pixel over; a box covers no pixels then.
  if (box.r <= box.l || box.b <= box.t) return;
  HBRUSH brush = CreateSolidBrush(c);
  const RECT r = {box.l, box.t, box.r, box.b};
  FillRect(dc_, &r, brush);
  DeleteObject(brush);
}

void GdiSurface::Shape(Box box, int e, Colour pen, std::optional<Colour> fill) {
  HPEN p = CreatePen(PS_SOLID, 1, pen);
  HBRUSH b = fill ? CreateSolidBrush(*fill) : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  HGDIOBJ oldPen = SelectObject(dc_, p);
  HGDIOBJ oldBrush = SelectObject(dc_, b);
  if (e < 0)
    ::Rectangle(dc_, box.l, box.t, box.r, box.b);
  else
    ::RoundRect(dc_, box.l, box.t, box.r, box.b, e, e);
  SelectObject(dc_, oldBrush);
  SelectObject(dc_, oldPen);
  DeleteObject(p);
  if (fill) DeleteObject(b);
}

void GdiSurface::Rectangle(Box box, Colour pen, std::optional<Colour> fill) { Shape(box, -1, pen, fill); }

void GdiSurface::RoundRectangle(Box box, int e, Colour pen, std::optional<Colour> fill) {
  Shape(box, e, pen, fill);
}

HFONT CreateFontFor(const FontSpec &font) {
  const int dpi = formkit::LogicalPixels(LOGPIXELSY);
  const int height = -static_cast<int>(std::lround(font.points * dpi / 72.0));
  return CreateFontA(height, 0, 0, 0, font.weight, font.italic, font.underline, font.strikeout,
                     static_cast<DWORD>(font.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, ToAnsi(font.name).c_str());
}

void GdiSurface::DrawCaption(const std::wstring &text, Box box, Colour colour, const FontSpec &font) {
  HFONT f = CreateFontFor(font);
  HGDIOBJ old = SelectObject(dc_, f);
  SetTextColor(dc_, colour);
  SetBkMode(dc_, TRANSPARENT);
  RECT r = {box.l, box.t, box.r, box.b};
  std::string ansi = ToAnsi(text);
  DrawTextA(dc_, ansi.c_str(), static_cast<int>(ansi.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc_, old);
  DeleteObject(f);
}

void GdiSurface::DrawFocusRect(Box box) {
  SetTextColor(dc_, RGB(0, 0, 0));
  const RECT r = {box.l, box.t, box.r, box.b};
  ::DrawFocusRect(dc_, &r);
}
