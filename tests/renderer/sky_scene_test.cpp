#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "shared_names.h"
#include "sky_scene.h"

namespace {

// The window's class starts its title; the rate follows.
std::string Titled(const char *rate) { return std::string(kRendererClass) + " - " + rate; }

TEST(SkyScene, SpaceTogglesBetweenAdditiveBlackFogAndWhiteFogOver) {
  struct Case { bool bright; CloudBlend blend; float fog; };
  for (const Case c : {Case{false, CloudBlend::Additive, 0.0f}, Case{true, CloudBlend::Over, 1.0f}}) {
    EXPECT_EQ(CloudBlendFor(c.bright), c.blend);
    std::vector<float> rgba = {-1, -1, -1, -1};
    FogColourFor(c.bright, rgba.data());
    EXPECT_EQ(rgba, (std::vector<float>{c.fog, c.fog, c.fog, 0.0f}));
  }
}

TEST(SkyScene, ScrollRepeatsAlongXAfter80Seconds) {
  EXPECT_EQ(ScrollAt(0.0).s, 0.0f);
  const ScrollOffsets at80 = ScrollAt(80.0);
  EXPECT_NEAR(at80.s, 0.0f, 1e-6f) << "a whole repeat draws what time 0 drew";
  EXPECT_NEAR(at80.t, -0.6667f, 1e-4f);
}

// Runs go on for days: at 60 fps every frame moves the sky by the step of
// the first frame, within 1 %, however long the clock has been running.
TEST(SkyScene, ScrollStepsStayEvenForAYear) {
  const ScrollOffsets first = ScrollAt(1.0 / 60), zero = ScrollAt(0.0);
  const double stepS = first.s - zero.s, stepT = first.t - zero.t;
  ASSERT_GT(stepS, 0.0);  // toward -x in the world: the texture's s grows
  ASSERT_LT(stepT, 0.0);
  const double day = 86400.0;
  for (double start : {60.0, day, 7 * day, 30 * day, 365 * day}) {
    SCOPED_TRACE(::testing::Message() << start << " s");
    ScrollOffsets previous = ScrollAt(start);
    for (int frame = 1; frame <= 120; ++frame) {
      const ScrollOffsets now = ScrollAt(start + frame / 60.0);
      // A step across a whole repeat comes back as the same small step.
      const double ds = std::remainder(static_cast<double>(now.s) - previous.s, 1.0);
      const double dt = std::remainder(static_cast<double>(now.t) - previous.t, 1.0);
      ASSERT_NEAR(ds, stepS, stepS * 0.01) << "frame " << frame;
      ASSERT_NEAR(dt, stepT, -stepT * 0.01) << "frame " << frame;
      ASSERT_LT(std::fabs(now.s), 1.0f);
      previous = now;
    }
  }
}

// A window of no height still gets a finite aspect.
TEST(SkyScene, AspectOfTheWindow) {
  EXPECT_FLOAT_EQ(AspectOf(1024, 768), 4.0f / 3.0f);
  EXPECT_FLOAT_EQ(AspectOf(640, 0), 640.0f);
}

TEST(FpsTitle, RefreshesOnlyAfterMoreThanThreeSeconds) {
  FpsTitle title;
  char text[256] = "";
  EXPECT_FALSE(title.Update(0.5f, text, sizeof text));  // first frame: the clock starts
  title.FrameCount = 179;
  EXPECT_FALSE(title.Update(3.5f, text, sizeof text));  // exactly 3 s is not enough
  EXPECT_TRUE(title.Update(3.6f, text, sizeof text));
  EXPECT_EQ(std::string(text), Titled("57.7 fps"));
  EXPECT_EQ(title.FrameCount, 0);
  title.FrameCount = 3000;
  EXPECT_FALSE(title.Update(6.6f, text, sizeof text));
  EXPECT_TRUE(title.Update(6.7f, text, sizeof text));
  EXPECT_EQ(std::string(text), Titled("967.7 fps"));
}

TEST(FpsTitle, TimeSpentRestingDoesNotCount) {
  FpsTitle title;
  char text[256] = "";
  title.Update(10.0, text, sizeof text);
  title.FrameCount = 60;  // one second of drawing, then an hour's rest
  title.Rested(3600.0);
  EXPECT_FALSE(title.Update(3611.0, text, sizeof text));
  title.FrameCount = 250;
  EXPECT_TRUE(title.Update(3614.1, text, sizeof text));
  EXPECT_EQ(std::string(text), Titled("61.0 fps"));
}

TEST(FpsTitle, LongTitleIsCutToTheBuffer) {
  FpsTitle title;
  char text[12];
  title.Update(0.0f, text, sizeof text);
  title.FrameCount = 10;
  EXPECT_TRUE(title.Update(4.0f, text, sizeof text));
  EXPECT_EQ(std::string(text), Titled(""));
}

}  // namespace
