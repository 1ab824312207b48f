// A surface on a GDI device-independent bitmap: the retained image of a
// custom control, painted with GDI and shown by WM_PAINT.
#pragma once

#include <windows.h>

#include "surface.h"

class GdiSurface : public Surface {
 public:
  GdiSurface() = default;
  ~GdiSurface() override;
  GdiSurface(const GdiSurface &) = delete;
  GdiSurface &operator=(const GdiSurface &) = delete;

  // Makes the image this size; its content is undefined until painted.
  void Resize(int width, int height);
  HDC Dc() const { return dc_; }
  // Copies the image to a window's device context at (0, 0).
  void Show(HDC target) const;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  Colour GetPixel(int x, int y) const override;
  void SetPixel(int x, int y, Colour c) override;
  void Clear(Colour c) override;
  void Line(int x1, int y1, int x2, int y2, Colour c) override;
  void FillSolid(Box box, Colour c) override;
  void Rectangle(Box box, Colour pen, std::optional<Colour> fill) override;
  void RoundRectangle(Box box, int e, Colour pen, std::optional<Colour> fill) override;
  void DrawCaption(const std::wstring &text, Box box, Colour colour, const FontSpec &font) override;
  void DrawFocusRect(Box box) override;

 private:
  void Shape(Box box, int e, Colour pen, std::optional<Colour> fill);
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  int width_ = 0, height_ = 0;
};

// A GDI font for a font description, at the screen's resolution.
HFONT CreateFontFor(const FontSpec &font);
