// An in-memory surface for tests: real pixels for the shapes, and a record
// of the text and focus rectangles drawn (their pixels depend on fonts).
#pragma once

#include <vector>

#include "surface.h"

class MemorySurface : public Surface {
 public:
  MemorySurface(int width, int height, Colour fill = 0);

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

  struct Caption {
    std::wstring text;
    Box box;
    Colour colour;
    FontSpec font;
  };
  std::vector<Caption> captions;
  std::vector<Box> focusRects;

 private:
  int width_, height_;
  std::vector<Colour> pixels_;
};
