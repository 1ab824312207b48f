#include <gtest/gtest.h>

#include <string>

#include "sky_scene.h"

namespace {

TEST(SkyScene, SpaceTogglesBetweenAdditiveBlackFogAndWhiteFogOver) {
  struct Case { bool bright; CloudBlend blend; float fog; };
  for (const Case c : {Case{false, CloudBlend::Additive, 0.0f}, Case{true, CloudBlend::Over, 1.0f}}) {
    EXPECT_EQ(CloudBlendFor(c.bright), c.blend);
    float rgba[4] = {-1, -1, -1, -1};
    FogColourFor(c.bright, rgba);
    EXPECT_EQ(rgba[0], c.fog);
    EXPECT_EQ(rgba[1], c.fog);
    EXPECT_EQ(rgba[2], c.fog);
    EXPECT_EQ(rgba[3], 0.0f);
  }
}

TEST(SkyScene, ScrollRepeatsAlongXAfter80Seconds) {
  EXPECT_EQ(ScrollAt(0.0f).s, 0.0f);
  const ScrollOffsets at80 = ScrollAt(80.0f);
  EXPECT_FLOAT_EQ(at80.s, 1.0f);
  EXPECT_NEAR(at80.t, -0.6667f, 1e-4f);
}

TEST(SkyScene, AspectOfTheWindow) {
  EXPECT_FLOAT_EQ(AspectOf(1024, 768), 1024.0f / 768.0f);
  EXPECT_FLOAT_EQ(AspectOf(640, 0), 640.0f);
}

TEST(FpsTitle, RefreshesOnlyAfterMoreThanThreeSeconds) {
  FpsTitle title;
  char text[256] = "";
  EXPECT_FALSE(title.Update(0.5f, text, sizeof text));  // first frame: the clock starts
  title.FrameCount = 179;
  EXPECT_FALSE(title.Update(3.5f, text, sizeof text));  // exactly 3 s is not enough
  EXPECT_TRUE(title.Update(3.6f, text, sizeof text));
  EXPECT_EQ(std::string(text), "Caliguna - 57.7 fps");
  EXPECT_EQ(title.FrameCount, 0);
  title.FrameCount = 3000;
  EXPECT_FALSE(title.Update(6.6f, text, sizeof text));
  EXPECT_TRUE(title.Update(6.7f, text, sizeof text));
  EXPECT_EQ(std::string(text), "Caliguna - 967.7 fps");
}

TEST(FpsTitle, LongTitleIsCutToTheBuffer) {
  FpsTitle title;
  char text[12];
  title.Update(0.0f, text, sizeof text);
  title.FrameCount = 10;
  EXPECT_TRUE(title.Update(4.0f, text, sizeof text));
  EXPECT_EQ(std::string(text), "Caliguna - ");
}

}  // namespace
