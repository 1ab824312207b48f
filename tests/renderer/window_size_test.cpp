#include <gtest/gtest.h>

#include <climits>

#include "window_size.h"

namespace {

TEST(WindowSize, StoredSideIsDefaultedAndKeptWithinScreenAndGl) {
  // The profile reader hands back an unsigned number; the glue reads it as int.
  const int wrappedMinusOne = static_cast<int>(4294967295u);
  struct Case {
    const char *what;
    int stored, fallback, screen, gl, side;
  };
  const Case cases[] = {
      {"zero width", 0, kDefaultWindowWidth, 1280, 16384, 1024},
      {"zero height", 0, kDefaultWindowHeight, 1024, 16384, 768},
      {"negative", -5, kDefaultWindowWidth, 1280, 16384, 1024},
      {"4294967295 reads as -1", wrappedMinusOne, kDefaultWindowHeight, 1024, 16384, 768},
      {"most negative", INT_MIN, kDefaultWindowWidth, 1280, 16384, 1024},
      {"one pixel", 1, kDefaultWindowWidth, 1280, 16384, 1},
      {"smaller than the screen", 640, kDefaultWindowWidth, 1280, 16384, 640},
      {"exactly the screen", 1280, kDefaultWindowWidth, 1280, 16384, 1280},
      {"one above the screen", 1281, kDefaultWindowWidth, 1280, 16384, 1280},
      {"32767", 32767, kDefaultWindowHeight, 1024, 16384, 1024},
      {"32768", 32768, kDefaultWindowHeight, 1024, 16384, 1024},
      {"65535", 65535, kDefaultWindowWidth, 1280, 16384, 1280},
      {"huge", INT_MAX, kDefaultWindowWidth, 1280, 16384, 1280},
      {"default wider than a small screen", 0, kDefaultWindowWidth, 800, 16384, 800},
      {"GL smaller than a wide desktop", 40000, kDefaultWindowWidth, 7680, 4096, 4096},
      {"within GL on a wide desktop", 3000, kDefaultWindowWidth, 7680, 4096, 3000},
      {"GL limit not known yet", 40000, kDefaultWindowWidth, 1280, 0, 1280},
      {"screen not known", 40000, kDefaultWindowWidth, 0, 16384, 16384},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(FitWindowSide(c.stored, c.fallback, c.screen, c.gl), c.side) << c.what;
  }
}

}  // namespace
