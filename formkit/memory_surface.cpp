#include "memory_surface.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

MemorySurface::MemorySurface(int width, int height, Colour fill)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, fill) {}

Colour MemorySurface::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return kNoPixel;
  return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

void MemorySurface::SetPixel(int x, int y, Colour c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<std::size_t>(y) * width_ + x] = c;
}

void MemorySurface::Clear(Colour c) { std::fill(pixels_.begin(), pixels_.end(), c); }

namespace {

// GDI draws a shape given right to left or bottom to top as if given the
// other way round.
Box Ordered(Box box) {
  if (box.l > box.r) std::swap(box.l, box.r);
  if (box.t > box.b) std::swap(box.t, box.b);
  return box;
}

// Integer division rounding down and up, for any sign of the numerator.
long long FloorDiv(long long a, long long b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
long long CeilDiv(long long a, long long b) { return a >= 0 ? (a + b - 1) / b : -((-a) / b); }

// The rasteriser of GDI's rounded corners: a quarter of an ellipse `w` by
// `h` pixels, walked from its middle row on the box's side toward its tip on
// the box's top or bottom edge, one pixel at a time, by the error terms of
// Zingl's ellipse algorithm. `in` counts the columns stepped in from the
// outer edge, `down` the rows stepped away from the middle row. GDI's outline
// and its fill region both walk it, each with its own stopping rule, and
// their pixels depend on its exact integer arithmetic.
class QuarterEllipse {
 public:
  QuarterEllipse(int w, int h) {
    const long long a = w - 1, b = h - 1, odd = b % 2;
    xIncrement_ = 8 * b * b;
    yIncrement_ = 8 * a * a;
    xError_ = 4 * b * b * (1 - a);
    yError_ = 4 * a * a * (1 + odd);
    error_ = xError_ + yError_ + a * a * odd;
  }
  int in = 0, down = 0;
  // One step; says whether it went down a row.
  bool Step() {
    const long long twice = 2 * error_;
    if (twice >= xError_) {
      ++in;
      xError_ += xIncrement_;
      error_ += xError_;
    }
    if (twice <= yError_) {
      ++down;
      yError_ += yIncrement_;
      error_ += yError_;
      return true;
    }
    return false;
  }

 private:
  long long xIncrement_, yIncrement_, xError_, yError_, error_;
};

}  // namespace

void MemorySurface::Line(int x1, int y1, int x2, int y2, Colour c) {
  const long long dx = static_cast<long long>(x2) - x1, dy = static_cast<long long>(y2) - y1;
  if (dx == 0 && dy == 0) return;
  // Steps run along the longer axis; a diagonal steps along y, as GDI's does.
  const bool alongX = std::llabs(dx) > std::llabs(dy);
  const long long major = alongX ? std::llabs(dx) : std::llabs(dy), minor = alongX ? std::llabs(dy) : std::llabs(dx);
  const int majorStep = (alongX ? dx : dy) > 0 ? 1 : -1, minorStep = (alongX ? dy : dx) > 0 ? 1 : -1;
  const long long majorStart = alongX ? x1 : y1, minorStart = alongX ? y1 : x1;
  // Only the steps whose major coordinate lies on the surface can show.
  const long long extent = alongX ? width_ : height_;
  long long first = majorStep > 0 ? -majorStart : majorStart - (extent - 1);
  long long last = majorStep > 0 ? extent - 1 - majorStart : majorStart;
  first = std::max(first, 0LL);
  last = std::min(last, major - 1);  // the end pixel is left out
  for (long long i = first; i <= last; ++i) {
    // The exact minor offset is i * minor / major. GDI breaks a tie half way
    // between two pixels toward the smaller coordinate, whichever way the
    // line runs, so a line covers the same pixels drawn in either direction.
    const long long twice = 2 * i * minor;
    const long long offset = minorStep > 0 ? CeilDiv(twice - major, 2 * major) : -FloorDiv(twice + major, 2 * major);
    const long long u = majorStart + majorStep * i, v = minorStart + offset;
    const long long x = alongX ? u : v, y = alongX ? v : u;
    if (x >= 0 && y >= 0 && x < width_ && y < height_) SetPixel(static_cast<int>(x), static_cast<int>(y), c);
  }
}

void MemorySurface::FillSolid(Box box, Colour c) {
  for (int y = std::max(box.t, 0); y < std::min(box.b, height_); ++y)
    for (int x = std::max(box.l, 0); x < std::min(box.r, width_); ++x) SetPixel(x, y, c);
}

void MemorySurface::Rectangle(Box box, Colour pen, std::optional<Colour> fill) {
  box = Ordered(box);
  if (box.r == box.l || box.b == box.t) return;
  // GDI strokes the outline as a closed path through the four corner pixels;
  // for a single pixel that path has no length and nothing is drawn.
  if (box.r - box.l == 1 && box.b - box.t == 1) return;
  if (fill) FillSolid({box.l + 1, box.t + 1, box.r - 1, box.b - 1}, *fill);
  FillSolid({box.l, box.t, box.r, box.t + 1}, pen);
  FillSolid({box.l, box.b - 1, box.r, box.b}, pen);
  FillSolid({box.l, box.t, box.l + 1, box.b}, pen);
  FillSolid({box.r - 1, box.t, box.r, box.b}, pen);
}

void MemorySurface::RoundRectangle(Box box, int e, Colour pen, std::optional<Colour> fill) {
  box = Ordered(box);
  if (box.r == box.l || box.b == box.t) return;
  const long long size = std::llabs(static_cast<long long>(e));
  const int w = box.r - box.l, h = box.b - box.t;
  const int ew = static_cast<int>(std::min<long long>(w, size)), eh = static_cast<int>(std::min<long long>(h, size));
  // Corners this small are square in GDI.
  if (ew <= 2 || eh <= 2) {
    Rectangle(box, pen, fill);
    return;
  }
  const int middle = eh / 2;  // the corner ellipse's middle row, counted from its top

  if (fill) {
    // GDI paints the fill first, row by row, each row inset by the columns
    // the ellipse has stepped in when it reaches that row; the walk stops
    // once it has stepped past half the ellipse's width. A corner far taller
    // than wide stops short of its tip: Wine leaves those rows undefined,
    // and they stay empty here.
    std::vector<int> inset(static_cast<std::size_t>(eh), -1);
    inset[static_cast<std::size_t>(middle)] = 0;
    QuarterEllipse walk(ew, eh);
    while (walk.in <= ew / 2)
      if (walk.Step() && middle + walk.down < eh) inset[static_cast<std::size_t>(middle + walk.down)] = walk.in;
    auto row = [&](int y, int in) {
      if (in >= 0) FillSolid({box.l + in, y, box.r - in, y + 1}, *fill);
    };
    for (int j = 0; j < middle; ++j) row(box.t + j, inset[static_cast<std::size_t>(eh - 1 - j)]);
    for (int y = box.t + middle; y <= box.b - eh + middle; ++y) row(y, 0);
    for (int j = middle + 1; j < eh; ++j) row(box.b - eh + j, inset[static_cast<std::size_t>(j)]);
  }

  // The outline: the pixels the walk visits until it passes the middle
  // column, mirrored into all four corners, joined by the straight sides.
  // Where the walk stops short of the tip, the top and bottom sides are
  // drawn that far inside the box, as GDI under Wine draws them.
  struct Point { int x, y; };
  std::vector<Point> corner;  // the top right one
  QuarterEllipse walk(ew, eh);
  while (ew - 1 - walk.in >= ew / 2) {
    corner.push_back({box.r - 1 - walk.in, box.t + eh - 1 - middle - walk.down});
    walk.Step();
  }
  auto mirrorX = [&](int x) { return box.l + box.r - 1 - x; };
  auto mirrorY = [&](int y) { return box.t + box.b - 1 - y; };
  for (const Point &p : corner) {
    SetPixel(p.x, p.y, pen);
    SetPixel(mirrorX(p.x), p.y, pen);
    SetPixel(p.x, mirrorY(p.y), pen);
    SetPixel(mirrorX(p.x), mirrorY(p.y), pen);
  }
  const Point side = corner.front(), top = corner.back();
  FillSolid({mirrorX(top.x), top.y, top.x + 1, top.y + 1}, pen);
  FillSolid({mirrorX(top.x), mirrorY(top.y), top.x + 1, mirrorY(top.y) + 1}, pen);
  FillSolid({side.x, side.y, side.x + 1, mirrorY(side.y) + 1}, pen);
  FillSolid({mirrorX(side.x), side.y, mirrorX(side.x) + 1, mirrorY(side.y) + 1}, pen);
}

void MemorySurface::DrawCaption(const std::wstring &text, Box box, Colour colour, const FontSpec &font) {
  captions.push_back({text, box, colour, font});
}

void MemorySurface::DrawFocusRect(Box box) { focusRects.push_back(box); }
