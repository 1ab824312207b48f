// What the custom controls paint on: a pixel surface with the few drawing
// primitives they use. The controls' painting code is portable and only ever
// sees this interface; the programs give it a GDI-backed retained image, the
// tests an in-memory one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// A colour laid out 0x00BBGGRR, red in the low byte.
using Colour = std::uint32_t;

constexpr Colour Rgb(int r, int g, int b) {
  return static_cast<Colour>(r & 255) | (static_cast<Colour>(g & 255) << 8) | (static_cast<Colour>(b & 255) << 16);
}
constexpr int RedOf(Colour c) { return static_cast<int>(c & 255); }
constexpr int GreenOf(Colour c) { return static_cast<int>((c >> 8) & 255); }
constexpr int BlueOf(Colour c) { return static_cast<int>((c >> 16) & 255); }

// Read from outside the surface: equal to no colour a control paints.
constexpr Colour kNoPixel = 0xFFFFFFFFu;

// A box covers the pixels l <= x <= r - 1, t <= y <= b - 1.
struct Box {
  int l, t, r, b;
};

struct FontSpec {
  std::wstring name = L"Verdana";
  double points = 8.25;
  int weight = 400;
  int charset = 0;
  bool italic = false, underline = false, strikeout = false;
  bool operator==(const FontSpec &o) const {
    return name == o.name && points == o.points && weight == o.weight && charset == o.charset &&
           italic == o.italic && underline == o.underline && strikeout == o.strikeout;
  }
};

class Surface {
 public:
  virtual ~Surface() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;

  virtual Colour GetPixel(int x, int y) const = 0;  // kNoPixel outside
  virtual void SetPixel(int x, int y, Colour c) = 0;
  virtual void Clear(Colour c) = 0;
  // A 1-pixel line from (x1, y1) up to but not including (x2, y2).
  virtual void Line(int x1, int y1, int x2, int y2, Colour c) = 0;
  virtual void FillSolid(Box box, Colour c) = 0;
  // Outline in `pen`, interior filled with `fill`, or left untouched without one.
  virtual void Rectangle(Box box, Colour pen, std::optional<Colour> fill) = 0;
  // The same box with each corner a quarter of an ellipse `e` wide and high.
  virtual void RoundRectangle(Box box, int e, Colour pen, std::optional<Colour> fill) = 0;

  // One line of text centred in the box, transparent background; "&" marks
  // the access key and underlines it, "&&" shows one "&".
  virtual void DrawCaption(const std::wstring &text, Box box, Colour colour, const FontSpec &font) = 0;
  // The standard dotted focus rectangle, drawn by inverting.
  virtual void DrawFocusRect(Box box) = 0;
};
