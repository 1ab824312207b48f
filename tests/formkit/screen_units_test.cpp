#include <gtest/gtest.h>

#include "screen_units.h"

namespace {

TEST(ScreenUnits, TwipsBecomeTheNearestPixelAtEveryDpi) {
  struct Case { long twips; int dpi; int pixels; };
  const Case cases[] = {
      {7020, 96, 468}, {3900, 96, 260}, {195, 96, 13}, {1845, 96, 123},
      {7020, 120, 585}, {195, 120, 16}, {1845, 120, 154},
      {7020, 144, 702}, {195, 144, 20}, {1845, 144, 184},
      // 192 DPI has 7.5 twips to a pixel: no whole factor serves.
      {7020, 192, 936}, {195, 192, 26}, {1845, 192, 246},
      {7020, 168, 819}, {100, 168, 12},
      // Halves go to the even neighbour: 6735 twips are 673.5 pixels at 144.
      {6735, 144, 674}, {6705, 144, 670}, {6745, 96, 450}, {6765, 96, 451},
      {0, 144, 0}, {-195, 144, -20},
      // A screen that reports no DPI counts as 96.
      {7020, 0, 468}, {7020, -1, 468},
  };
  for (const Case &c : cases) EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " at " << c.dpi;
}

TEST(ScreenUnits, ALeastSizeInTwipsTakesWholePixelsThatCoverIt) {
  struct Case { long twips; int dpi; int pixels; };
  const Case cases[] = {
      {100, 96, 7}, {100, 120, 9}, {100, 144, 10}, {100, 168, 12}, {100, 192, 14}, {100, 72, 5},
      {1440, 96, 96}, {15, 96, 1}, {16, 96, 2}, {0, 144, 0}, {100, 0, 7},
  };
  for (const Case &c : cases) EXPECT_EQ(PixelsCovering(c.twips, c.dpi), c.pixels) << c.twips << " at " << c.dpi;
}

TEST(ScreenUnits, PixelsBecomeTheNearestTwip) {
  struct Case { long pixels; int dpi; long twips; };
  const Case cases[] = {
      {1280, 96, 19200}, {1280, 120, 15360}, {1280, 144, 12800}, {2560, 192, 19200},
      {1, 168, 9},  // 8.57 twips
      {-100, 96, -1500}, {0, 144, 0},
  };
  for (const Case &c : cases) EXPECT_EQ(PixelsToTwips(c.pixels, c.dpi), c.twips) << c.pixels << " at " << c.dpi;
}

TEST(ScreenUnits, PicturesGrowWithTheDpi) {
  struct Case { int pixels; int dpi; int scaled; };
  const Case cases[] = {
      {12, 96, 12}, {120, 96, 120}, {50, 96, 50},
      {12, 120, 15}, {120, 120, 150}, {50, 120, 62},  // 62.5 to the even neighbour
      {12, 144, 18}, {120, 144, 180}, {50, 144, 75}, {7, 144, 10},
      {12, 192, 24}, {7, 120, 9},
      {12, 0, 12},
  };
  for (const Case &c : cases) EXPECT_EQ(ScaleFromBaseDpi(c.pixels, c.dpi), c.scaled) << c.pixels << " at " << c.dpi;
}

}  // namespace
