// The in-memory surface that the control tests paint on must give exactly the
// pixels that GDI gives for the same calls; otherwise those tests pass on a
// picture nobody sees. Each script runs on both surfaces, which are then
// compared pixel by pixel. Text and focus rectangles depend on fonts and are
// left out: the memory surface only records them.
#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "gdi_surface.h"
#include "memory_surface.h"

namespace {

constexpr Colour kPaper = Rgb(224, 224, 224);
constexpr Colour kPen = Rgb(0, 0, 128);
constexpr Colour kFill = Rgb(240, 230, 200);
constexpr Colour kOther = Rgb(200, 30, 40);

struct Script {
  std::string name;
  int width, height;
  std::function<void(Surface &)> draw;
};

std::string ColourText(Colour c) {
  if (c == kNoPixel) return "no pixel";
  std::ostringstream text;
  text << "(" << RedOf(c) << "," << GreenOf(c) << "," << BlueOf(c) << ")";
  return text.str();
}

// The first pixel, in reading order, where the two surfaces differ.
std::optional<std::string> FirstMismatch(const Surface &gdi, const Surface &memory) {
  for (int y = 0; y < gdi.Height(); ++y)
    for (int x = 0; x < gdi.Width(); ++x) {
      const Colour g = gdi.GetPixel(x, y), m = memory.GetPixel(x, y);
      if (g == m) continue;
      std::ostringstream text;
      text << "first mismatch at (" << x << ", " << y << "): GDI " << ColourText(g) << ", memory "
           << ColourText(m);
      return text.str();
    }
  return std::nullopt;
}

void ExpectSamePixels(const std::vector<Script> &scripts) {
  for (const Script &script : scripts) {
    GdiSurface gdi;
    gdi.Resize(script.width, script.height);
    MemorySurface memory(script.width, script.height);
    ASSERT_EQ(gdi.Width(), script.width) << script.name;
    ASSERT_EQ(gdi.Height(), script.height) << script.name;
    // The GDI image holds garbage until painted: both start from a clear.
    for (Surface *s : {static_cast<Surface *>(&gdi), static_cast<Surface *>(&memory)}) {
      s->Clear(kPaper);
      script.draw(*s);
    }
    GdiFlush();
    const std::optional<std::string> mismatch = FirstMismatch(gdi, memory);
    EXPECT_FALSE(mismatch) << script.name << ": " << mismatch.value_or("");
  }
}

// One rounded rectangle, with and without fill, at an offset so that
// arithmetic relative to the surface's origin rather than the box's shows.
void AddRound(std::vector<Script> &scripts, Box box, int e, int width, int height) {
  for (bool filled : {false, true}) {
    std::ostringstream name;
    name << "rounded (" << box.l << "," << box.t << ")-(" << box.r << "," << box.b << ") e " << e
         << (filled ? " filled" : " hollow");
    std::optional<Colour> fill;
    if (filled) fill = kFill;
    scripts.push_back({name.str(), width, height, [=](Surface &s) { s.RoundRectangle(box, e, kPen, fill); }});
  }
}

// A rectangle, hollow and filled, and a fill of the same box.
void AddBox(std::vector<Script> &scripts, const std::string &name, Box box, int width, int height) {
  scripts.push_back({"rectangle " + name + " hollow", width, height,
                     [box](Surface &s) { s.Rectangle(box, kPen, std::nullopt); }});
  scripts.push_back({"rectangle " + name + " filled", width, height,
                     [box](Surface &s) { s.Rectangle(box, kPen, kFill); }});
  scripts.push_back({"fill " + name, width, height, [box](Surface &s) { s.FillSolid(box, kFill); }});
}

TEST(SurfaceContract, RoundedRectanglesOfEveryCornerAndBoxSize) {
  std::vector<Script> scripts;
  // Even and odd boxes, corners from none to larger than the box.
  for (int e : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14, 15, 20, 21})
    for (Box box : {Box{2, 3, 22, 17}, Box{3, 2, 20, 13}}) AddRound(scripts, box, e, 25, 20);
  // Wider than tall and taller than wide, with e between the two sides and past both.
  for (int e : {12, 16, 25, 40})
    for (Box box : {Box{1, 1, 27, 11}, Box{1, 1, 10, 24}}) AddRound(scripts, box, e, 30, 26);
  // Narrow boxes whose corners meet in the middle of the long side. A corner
  // far taller than wide (4 x 24 here) is left out: Wine's fill region then
  // has rows it never computes, so its pixels are whatever memory held.
  for (int e : {3, 4, 5, 10, 30}) {
    if (e < 24) AddRound(scripts, {1, 1, 5, 25}, e, 8, 27);
    AddRound(scripts, {1, 1, 26, 6}, e, 28, 8);
    AddRound(scripts, {1, 1, 8, 25}, e, 10, 27);
  }
  // The framed panel's usual sizes.
  for (int e : {10, 50}) AddRound(scripts, {0, 0, 60, 40}, e, 62, 42);
  // Tiny boxes.
  for (int side : {1, 2, 3, 4})
    for (int e : {0, 1, 2, 3, 4, 5})
      AddRound(scripts, {2, 2, 2 + side, 2 + side}, e, 8, 8);
  for (int e : {0, 2, 3, 6}) {
    AddRound(scripts, {1, 2, 9, 3}, e, 10, 6);  // one row
    AddRound(scripts, {1, 2, 9, 4}, e, 10, 6);  // two rows
    AddRound(scripts, {2, 1, 3, 9}, e, 6, 10);  // one column
    AddRound(scripts, {2, 1, 4, 9}, e, 6, 10);  // two columns
  }
  // A side of two pixels makes square corners whatever the ellipse, however
  // long the other side.
  for (int e : {4, 7, 12, 30}) {
    AddRound(scripts, {3, 2, 26, 4}, e, 28, 6);
    AddRound(scripts, {2, 3, 4, 26}, e, 6, 28);
  }
  ExpectSamePixels(scripts);
}

TEST(SurfaceContract, ShapesOverlappingTheSurfaceEdges) {
  std::vector<Script> scripts;
  for (int e : {0, 5, 8, 13}) {
    AddRound(scripts, {-6, -4, 12, 10}, e, 20, 16);
    AddRound(scripts, {8, 6, 26, 22}, e, 20, 16);
    AddRound(scripts, {-3, 4, 23, 12}, e, 20, 16);
    AddRound(scripts, {-5, -5, 25, 21}, e, 20, 16);
  }
  AddBox(scripts, "over the top left", {-6, -4, 12, 10}, 20, 16);
  AddBox(scripts, "over the bottom right", {8, 6, 26, 22}, 20, 16);
  AddBox(scripts, "around the whole surface", {-1, -1, 21, 17}, 20, 16);
  AddBox(scripts, "far outside", {30, 30, 40, 40}, 20, 16);
  ExpectSamePixels(scripts);
}

TEST(SurfaceContract, ConcentricRoundedRingsAsThePanelShadowDrawsThem) {
  // Transparent rings one pixel apart, then a filled frame over their upper
  // left part: the gaps between rings are what the panel later smooths.
  std::vector<Script> scripts;
  for (int e : {0, 4, 10, 17})
    for (int depth : {2, 5, 7}) {
      std::ostringstream name;
      name << "rings depth " << depth << " corner " << e;
      scripts.push_back({name.str(), 48, 36, [=](Surface &s) {
                           const int w = 48, h = 36;
                           for (int i = 0; i <= depth; ++i)
                             s.RoundRectangle({2 * depth - i, 2 * depth - i, w - depth + i, h - depth + i}, e,
                                              Rgb(100 + 15 * i, 100 + 15 * i, 100 + 15 * i), std::nullopt);
                           s.RoundRectangle({0, 0, w - depth, h - depth}, e, kPen, kFill);
                         }});
    }
  ExpectSamePixels(scripts);
}

TEST(SurfaceContract, LinesLeaveOutTheirEndPixel) {
  struct Segment { const char *name; int x1, y1, x2, y2; };
  const Segment segments[] = {
      {"no length", 7, 7, 7, 7},
      // Across the surface's edges: clipping must not move the pixels inside.
      {"in from the left", -5, 3, 9, 8},    {"out at the right", 6, 3, 22, 10},
      {"in from above", 9, -6, 4, 8},       {"out at the bottom", 3, 9, 7, 25},
      {"through the surface", -4, -2, 20, 14}, {"along the top edge to the end", 1, 0, 16, 0},
      {"beside the surface", -3, 2, -3, 12},
  };
  std::vector<Script> scripts;
  for (const Segment &g : segments)
    scripts.push_back({g.name, 16, 16, [g](Surface &s) { s.Line(g.x1, g.y1, g.x2, g.y2, kPen); }});
  // Level, upright and diagonal, then every octant, shallow and steep, each
  // way along the same pixels: single steps, slopes whose midpoints fall
  // exactly between two pixels (2:1, 4:2, 6:2 ...), others, and the longest
  // the surface holds.
  const std::pair<int, int> slopes[] = {{13, 0}, {0, 13}, {11, 11}, {1, 0}, {0, 1}, {1, 1}, {2, 1}, {1, 2}, {4, 2},
                                        {2, 4}, {6, 2}, {2, 6}, {5, 3}, {3, 5}, {14, 5}, {5, 13}, {15, 4}, {4, 15}};
  for (const auto &[dx, dy] : slopes)
    for (int sx : {1, -1})
      for (int sy : {1, -1}) {
        // Centred: going back starts where going forth ends.
        const int x1 = sx > 0 ? (15 - dx) / 2 : (15 + dx) / 2, y1 = sy > 0 ? (15 - dy) / 2 : (15 + dy) / 2;
        const int x2 = x1 + sx * dx, y2 = y1 + sy * dy;
        std::ostringstream name;
        name << "(" << x1 << ", " << y1 << ") to (" << x2 << ", " << y2 << ")";
        scripts.push_back({name.str(), 16, 16, [=](Surface &s) { s.Line(x1, y1, x2, y2, kPen); }});
      }
  scripts.push_back({"the push button's outline and edge rows", 20, 12, [](Surface &s) {
                       const int w = 20, h = 12;
                       s.Line(3, 0, w - 3, 0, kPen);
                       s.Line(0, 3, 0, h - 3, kPen);
                       s.Line(3, h - 1, w - 3, h - 1, kPen);
                       s.Line(w - 1, 3, w - 1, h - 3, kPen);
                       s.Line(1, 1, w, 1, kOther);
                       s.Line(2, h - 2, w - 1, h - 2, kFill);
                     }});
  ExpectSamePixels(scripts);
}

TEST(SurfaceContract, RectanglesAndFillsCoverTheBoxWithoutItsRightAndBottomEdges) {
  struct Shape { const char *name; Box box; };
  const Shape shapes[] = {
      {"ordinary", {2, 3, 13, 10}}, {"1x1", {4, 4, 5, 5}},  {"2x2", {4, 4, 6, 6}},
      {"3x3", {4, 4, 7, 7}},        {"one row", {2, 5, 12, 6}}, {"one column", {5, 2, 6, 12}},
      {"two rows", {2, 5, 12, 7}},  {"whole surface", {0, 0, 16, 14}},
      // Boxes given right to left or bottom to top, and boxes of no area.
      {"right to left", {13, 3, 2, 10}}, {"bottom to top", {2, 10, 13, 3}},
      {"no width", {5, 2, 5, 12}},       {"no height", {2, 5, 12, 5}},
  };
  std::vector<Script> scripts;
  for (const Shape &shape : shapes) AddBox(scripts, shape.name, shape.box, 16, 14);
  for (int e : {4, 7}) {
    AddRound(scripts, {13, 3, 2, 11}, e, 16, 14);
    AddRound(scripts, {2, 11, 13, 3}, e, 16, 14);
    AddRound(scripts, {5, 2, 5, 12}, e, 16, 14);
  }
  scripts.push_back({"hollow rectangle keeps what was under it", 16, 14, [](Surface &s) {
                       s.FillSolid({0, 0, 16, 14}, kOther);
                       s.Rectangle({2, 2, 14, 12}, kPen, std::nullopt);
                     }});
  scripts.push_back({"hollow rounded rectangle keeps what was under it", 16, 14, [](Surface &s) {
                       s.FillSolid({0, 0, 16, 14}, kOther);
                       s.RoundRectangle({2, 2, 14, 12}, 6, kPen, std::nullopt);
                     }});
  ExpectSamePixels(scripts);
}

TEST(SurfaceContract, PixelsAndClear) {
  std::vector<Script> scripts = {
      {"pixels at the corners and inside", 9, 7, [](Surface &s) {
         s.SetPixel(0, 0, kPen);
         s.SetPixel(8, 0, kFill);
         s.SetPixel(0, 6, kOther);
         s.SetPixel(8, 6, Rgb(1, 2, 3));
         s.SetPixel(4, 3, Rgb(255, 255, 255));
         s.SetPixel(5, 3, Rgb(0, 0, 0));
       }},
      // Writes past an edge must not wrap into the next or previous row.
      {"pixels outside the surface", 9, 7, [](Surface &s) {
         for (int y : {-1, 3, 7}) s.SetPixel(-1, y, kPen), s.SetPixel(9, y, kPen);
         for (int x : {0, 4, 8}) s.SetPixel(x, -1, kPen), s.SetPixel(x, 7, kPen);
         s.SetPixel(INT_MIN, INT_MIN, kPen);
       }},
      {"clear paints over everything", 9, 7, [](Surface &s) {
         s.RoundRectangle({0, 0, 9, 7}, 4, kPen, kFill);
         s.Line(0, 0, 9, 7, kOther);
         s.Clear(Rgb(12, 34, 56));
       }},
      {"drawing after a clear", 9, 7, [](Surface &s) {
         s.Clear(kOther);
         s.SetPixel(3, 3, kPen);
       }},
      {"one pixel surface", 1, 1, [](Surface &s) { s.Clear(kOther); }},
  };
  ExpectSamePixels(scripts);
}

TEST(SurfaceContract, ReadsOutsideTheSurfaceGiveNoPixel) {
  GdiSurface gdi;
  gdi.Resize(9, 7);
  MemorySurface memory(9, 7);
  const POINT outside[] = {{-1, 0}, {0, -1}, {9, 0}, {0, 7}, {9, 7}, {-1, -1}, {100, 3}, {3, 100}, {INT_MIN, 0},
                           {0, INT_MAX}};
  for (Surface *s : {static_cast<Surface *>(&gdi), static_cast<Surface *>(&memory)}) {
    s->Clear(kPaper);
    for (const POINT &p : outside) EXPECT_EQ(s->GetPixel(p.x, p.y), kNoPixel) << p.x << ", " << p.y;
    EXPECT_EQ(s->GetPixel(8, 6), kPaper);
  }
}

}  // namespace
