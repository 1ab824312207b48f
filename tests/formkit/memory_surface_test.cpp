// The in-memory surface where GDI's rule needs no GDI to state: a rounded
// rectangle whose corner ellipse comes out at most two pixels wide or high,
// because the ellipse or a side of the box is that small, is the plain
// rectangle. surface_contract_win32_test holds the surface to GDI itself.
#include <gtest/gtest.h>

#include <optional>

#include "memory_surface.h"

namespace {

TEST(MemorySurface, RoundedBoxesWithATwoPixelCornerAreSquare) {
  struct Case { Box box; int e; };
  const Case cases[] = {
      {{3, 2, 26, 4}, 7},  {{3, 2, 26, 4}, 30}, {{2, 3, 4, 26}, 7},  {{2, 3, 4, 26}, 30}, {{2, 3, 4, 9}, 3},
      {{5, 5, 7, 7}, 4},   {{1, 1, 27, 20}, 2}, {{1, 1, 27, 20}, -2}, {{26, 4, 3, 2}, 12}, {{4, 26, 2, 3}, 12},
  };
  for (const Case &c : cases)
    for (std::optional<Colour> fill : {std::optional<Colour>(), std::optional<Colour>(Rgb(240, 230, 200))}) {
      MemorySurface round(28, 28, Rgb(224, 224, 224)), square(28, 28, Rgb(224, 224, 224));
      round.RoundRectangle(c.box, c.e, Rgb(0, 0, 128), fill);
      square.Rectangle(c.box, Rgb(0, 0, 128), fill);
      for (int y = 0; y < 28; ++y)
        for (int x = 0; x < 28; ++x)
          ASSERT_EQ(round.GetPixel(x, y), square.GetPixel(x, y))
              << "(" << c.box.l << "," << c.box.t << ")-(" << c.box.r << "," << c.box.b << ") e " << c.e
              << (fill ? " filled" : " hollow") << ", pixel " << x << "," << y;
    }
}

}  // namespace
