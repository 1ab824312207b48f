#include "memory_surface.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

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

void MemorySurface::Line(int x1, int y1, int x2, int y2, Colour c) {
  // Bresenham, leaving out the end point as the platform's lines do.
  const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
  const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
  int err = dx + dy;
  while (!(x1 == x2 && y1 == y2)) {
    SetPixel(x1, y1, c);
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x1 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y1 += sy;
    }
  }
}

void MemorySurface::FillSolid(Box box, Colour c) {
  for (int y = box.t; y < box.b; ++y)
    for (int x = box.l; x < box.r; ++x) SetPixel(x, y, c);
}

void MemorySurface::Rectangle(Box box, Colour pen, std::optional<Colour> fill) {
  if (box.r <= box.l || box.b <= box.t) return;
  if (fill) FillSolid({box.l + 1, box.t + 1, box.r - 1, box.b - 1}, *fill);
  for (int x = box.l; x < box.r; ++x) {
    SetPixel(x, box.t, pen);
    SetPixel(x, box.b - 1, pen);
  }
  for (int y = box.t; y < box.b; ++y) {
    SetPixel(box.l, y, pen);
    SetPixel(box.r - 1, y, pen);
  }
}

void MemorySurface::RoundRectangle(Box box, int e, Colour pen, std::optional<Colour> fill) {
  if (box.r <= box.l || box.b <= box.t) return;
  const int w = box.r - box.l, h = box.b - box.t;
  // Corner radii, limited to half the box as the platform does.
  const double rx = std::min(e, w) / 2.0, ry = std::min(e, h) / 2.0;
  // For each row, how far in from the left and right edges the shape starts:
  // the outline pixel is the first one inside the corner's ellipse.
  auto inset = [&](int row) -> int {
    const double fromTop = row + 0.5, fromBottom = h - row - 0.5;
    const double dy = std::max(0.0, std::max(ry - fromTop, ry - fromBottom));
    if (dy <= 0 || ry <= 0) return 0;
    const double dx = rx * std::sqrt(std::max(0.0, 1.0 - (dy * dy) / (ry * ry)));
    return static_cast<int>(std::floor(rx - dx + 0.5));
  };
  for (int row = 0; row < h; ++row) {
    const int in = inset(row);
    const int left = box.l + in, right = box.r - 1 - in;
    const bool edgeRow = row == 0 || row == h - 1;
    const int prevIn = row > 0 ? inset(row - 1) : in, nextIn = row + 1 < h ? inset(row + 1) : in;
    if (fill && !edgeRow)
      for (int x = left + 1; x < right; ++x) SetPixel(box.l + (x - box.l), box.t + row, *fill);
    if (edgeRow) {
      for (int x = left; x <= right; ++x) SetPixel(x, box.t + row, pen);
    } else {
      // Join the outline to the rows above and below along the curve.
      const int reach = std::max({0, prevIn - in - 1, nextIn - in - 1});
      for (int k = 0; k <= reach; ++k) {
        SetPixel(left + k, box.t + row, pen);
        SetPixel(right - k, box.t + row, pen);
      }
    }
  }
}

void MemorySurface::DrawCaption(const std::wstring &text, Box box, Colour colour, const FontSpec &font) {
  captions.push_back({text, box, colour, font});
}

void MemorySurface::DrawFocusRect(Box box) { focusRects.push_back(box); }
