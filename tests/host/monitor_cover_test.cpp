#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "monitor_cover.h"

void PrintTo(const ScreenRect &r, std::ostream *out) {
  *out << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
}

namespace {

using Rects = std::vector<ScreenRect>;

constexpr ScreenRect kPrimary = {0, 0, 1920, 1080};

TEST(MonitorCover, CoversEveryMonitorButThePrimary) {
  struct Case { const char *name; Rects monitors; ScreenRect primary; Rects covers; };
  const Case cases[] = {
      {"one monitor: nothing", {kPrimary}, kPrimary, {}},
      {"no monitors listed: nothing", {}, kPrimary, {}},
      {"side by side, to the right", {kPrimary, {1920, 0, 3840, 1080}}, kPrimary, {{1920, 0, 3840, 1080}}},
      {"side by side, primary listed second", {{1920, 0, 3840, 1080}, kPrimary}, kPrimary, {{1920, 0, 3840, 1080}}},
      {"to the left, at negative x", {kPrimary, {-1280, 0, 0, 1024}}, kPrimary, {{-1280, 0, 0, 1024}}},
      {"stacked above, at negative y", {{0, -1080, 1920, 0}, kPrimary}, kPrimary, {{0, -1080, 1920, 0}}},
      {"stacked below", {kPrimary, {0, 1080, 1920, 2160}}, kPrimary, {{0, 1080, 1920, 2160}}},
      {"different sizes, lower edges apart", {kPrimary, {1920, -200, 4480, 1240}}, kPrimary,
       {{1920, -200, 4480, 1240}}},
      {"three monitors around the primary", {{-1024, 100, 0, 868}, kPrimary, {1920, 0, 3200, 1024}}, kPrimary,
       {{-1024, 100, 0, 868}, {1920, 0, 3200, 1024}}},
      {"a diagonal neighbour", {kPrimary, {-800, -600, 0, 0}}, kPrimary, {{-800, -600, 0, 0}}},
      {"a copy of the primary (mirrored): nothing", {kPrimary, kPrimary}, kPrimary, {}},
      {"two mirrored monitors beside it: one cover", {kPrimary, {1920, 0, 3840, 1080}, {1920, 0, 3840, 1080}},
       kPrimary, {{1920, 0, 3840, 1080}}},
      {"a smaller monitor inside the primary's area: nothing", {kPrimary, {0, 0, 1024, 768}}, kPrimary, {}},
      {"a larger monitor mirroring the primary: only the part beyond it",
       {kPrimary, {0, 0, 2560, 1440}}, kPrimary, {{0, 1080, 2560, 1440}, {1920, 0, 2560, 1080}}},
      {"overlapping the primary's right half: only the part beyond it",
       {kPrimary, {960, 0, 2880, 1080}}, kPrimary, {{1920, 0, 2880, 1080}}},
      {"overlapping a corner", {kPrimary, {1800, 1000, 2800, 1800}}, kPrimary,
       {{1800, 1080, 2800, 1800}, {1920, 1000, 2800, 1080}}},
      {"around the primary on every side", {{-100, -100, 2020, 1180}}, kPrimary,
       {{-100, -100, 2020, 0}, {-100, 1080, 2020, 1180}, {-100, 0, 0, 1080}, {1920, 0, 2020, 1080}}},
      {"an empty monitor is skipped", {kPrimary, {1920, 0, 1920, 1080}, {3000, 0, 2000, 1080}}, kPrimary, {}},
  };
  // The renderer's window fills the primary.
  for (const Case &c : cases) EXPECT_EQ(CoverRects(c.monitors, c.primary, c.primary), c.covers) << c.name;
}

TEST(MonitorCover, CoversWhatASmallerWindowLeavesOfThePrimary) {
  constexpr ScreenRect kSmall = {0, 0, 1280, 1024};
  struct Case { const char *name; Rects monitors; ScreenRect window; Rects covers; };
  const Case cases[] = {
      {"640 x 480 on one monitor: below it and right of it", {kSmall}, {0, 0, 640, 480},
       {{0, 480, 1280, 1024}, {640, 0, 1280, 480}}},
      {"as wide as the primary: only below it", {kSmall}, {0, 0, 1280, 600}, {{0, 600, 1280, 1024}}},
      {"as tall as the primary: only right of it", {kSmall}, {0, 0, 700, 1024}, {{700, 0, 1280, 1024}}},
      {"one pixel short on each side", {kSmall}, {0, 0, 1279, 1023}, {{0, 1023, 1280, 1024}, {1279, 0, 1280, 1023}}},
      {"the primary not listed is covered all the same", {}, {0, 0, 640, 480},
       {{0, 480, 1280, 1024}, {640, 0, 1280, 480}}},
      {"no window yet: all of every monitor", {kSmall, {1280, 0, 2304, 768}}, {0, 0, 0, 0},
       {kSmall, {1280, 0, 2304, 768}}},
      {"a second monitor to the right, and the primary's rest", {kSmall, {1280, 0, 2304, 768}}, {0, 0, 1024, 768},
       {{0, 768, 1280, 1024}, {1024, 0, 1280, 768}, {1280, 0, 2304, 768}}},
      {"a second monitor listed first", {{1280, 0, 2304, 768}, kSmall}, {0, 0, 1024, 768},
       {{1280, 0, 2304, 768}, {0, 768, 1280, 1024}, {1024, 0, 1280, 768}}},
      {"a window across both monitors leaves the second's lower part",
       {kSmall, {1280, 0, 2304, 768}}, {0, 0, 2304, 600}, {{0, 600, 1280, 1024}, {1280, 600, 2304, 768}}},
      {"a window as large as the desktop leaves nothing", {kSmall, {1280, 0, 2304, 768}}, {0, 0, 2304, 1024}, {}},
      {"a monitor to the left is covered whole", {{-800, 0, 0, 600}, kSmall}, {0, 0, 640, 480},
       {{-800, 0, 0, 600}, {0, 480, 1280, 1024}, {640, 0, 1280, 480}}},
  };
  for (const Case &c : cases) EXPECT_EQ(CoverRects(c.monitors, kSmall, c.window), c.covers) << c.name;
}

TEST(MonitorCover, TheRendererWindowIsWhereTheRendererOpensIt) {
  struct Case { const char *name; WindowSize stored; long desktopWidth, desktopHeight; ScreenRect window; };
  const Case cases[] = {
      {"smaller", {640, 480}, 1280, 1024, {0, 0, 640, 480}},
      {"no keys or zero: 1024 x 768", {0, 0}, 1280, 1024, {0, 0, 1024, 768}},
      {"cut to the desktop", {65535, 40000}, 2304, 1024, {0, 0, 2304, 1024}},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(RendererWindowRect(c.stored, c.desktopWidth, c.desktopHeight), c.window) << c.name;
  }
}

}  // namespace
