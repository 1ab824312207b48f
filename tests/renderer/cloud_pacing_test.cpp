#include <gtest/gtest.h>

#include <vector>

#include "cloud_pacing.h"

namespace {

class CloudPacingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RandState = 1;
    FillNoiseLattice();
  }
  CloudStep Frame(float t) { return AdvanceCloudRows(pacing, t, texels.data()); }

  CloudPacing pacing;
  std::vector<unsigned char> texels = std::vector<unsigned char>(kSliceBytes);
};

TEST_F(CloudPacingTest, FirstFrameStartsTheSliceAtItsOwnTime) {
  const CloudStep step = Frame(0.8f);
  EXPECT_FALSE(step.sliceComplete);
  EXPECT_EQ(step.FadeFraction, 0.0f);
  EXPECT_EQ(pacing.RowsDone, 0);
  EXPECT_EQ(pacing.SliceDepth, 0.8f * (1.0f / 7.0f));
}

TEST_F(CloudPacingTest, FadeFollowsTheRowsDue) {
  Frame(0.0f);
  const CloudStep step = Frame(1.5f);  // 64 rows
  EXPECT_EQ(pacing.RowsDue, 64);
  EXPECT_EQ(pacing.RowsDone, 64);
  EXPECT_EQ(step.FadeFraction, 0.5f);
}

// Slices complete every 3 s of elapsed time whatever the frame rate, and the
// rows are spread evenly over the frames in between.
TEST_F(CloudPacingTest, SlicesCompleteEveryThreeSecondsAtAnyFrameRate) {
  for (float fps : {30.0f, 60.0f, 144.0f, 1000.0f}) {
    SCOPED_TRACE(::testing::Message() << fps << " fps");
    pacing = CloudPacing{};
    const double frame = 1.0 / fps;
    const int frames = static_cast<int>(30.5 * fps);
    std::vector<double> completions;
    int mostRowsInOneFrame = 0, previousDone = 0;
    float previousFade = 0.0f;
    for (int i = 0; i <= frames; ++i) {
      const double now = 0.25 + i * frame;
      const CloudStep step = Frame(static_cast<float>(now));
      if (step.sliceComplete) {
        completions.push_back(now);
        EXPECT_EQ(step.FadeFraction, 0.0f);
        mostRowsInOneFrame = std::max(mostRowsInOneFrame, kSliceSize - previousDone);
      } else {
        EXPECT_GE(step.FadeFraction, previousFade);
        mostRowsInOneFrame = std::max(mostRowsInOneFrame, pacing.RowsDone - previousDone);
      }
      previousDone = pacing.RowsDone;
      previousFade = step.FadeFraction;
    }
    ASSERT_EQ(completions.size(), 10u);
    for (std::size_t k = 0; k < completions.size(); ++k) {
      EXPECT_NEAR(completions[k], 0.25 + 3.0 * (k + 1), frame + 1e-3) << "slice " << k;
    }
    EXPECT_LE(mostRowsInOneFrame, static_cast<int>(kRowsPerSecond * frame) + 1);
  }
}

TEST_F(CloudPacingTest, LongStallCompletesOnlyTheRestOfTheSlice) {
  Frame(0.0f);
  Frame(1.0f);
  ASSERT_EQ(pacing.RowsDone, 42);
  const float depthBefore = pacing.SliceDepth;
  const CloudStep stalled = Frame(6.0f);
  EXPECT_TRUE(stalled.sliceComplete);
  EXPECT_EQ(stalled.FadeFraction, 0.0f);
  EXPECT_EQ(pacing.RowsDue, 128);
  EXPECT_EQ(pacing.RowsDone, 0);
  EXPECT_NE(pacing.SliceDepth, depthBefore);
  EXPECT_EQ(pacing.SliceDepth, 6.0f * (1.0f / 7.0f));
  // The next slice starts afresh from the stalled frame, not in one lump.
  const CloudStep next = Frame(6.1f);
  EXPECT_FALSE(next.sliceComplete);
  EXPECT_EQ(pacing.RowsDone, 4);
}

TEST_F(CloudPacingTest, ClockStandingStillBuildsNothing) {
  Frame(2.0f);
  Frame(2.5f);
  const int done = pacing.RowsDone;
  Frame(2.5f);
  Frame(2.4f);
  EXPECT_EQ(pacing.RowsDone, done);
}

TEST_F(CloudPacingTest, CoverWalksBetween118And170) {
  std::vector<float> covers;
  float t = 0.0f;
  Frame(t);
  for (int slice = 0; slice < 60; ++slice) {
    t += 3.0f;
    ASSERT_TRUE(Frame(t).sliceComplete);
    covers.push_back(pacing.CloudCover);
    if (slice == 0) {
      EXPECT_EQ(pacing.CloudCover, 146.0f);
    }
    if (slice == 7) {
      EXPECT_EQ(pacing.CloudCover, 118.0f);
      EXPECT_EQ(pacing.CoverStep, 4.0f);
    }
  }
  for (float c : covers) {
    EXPECT_GE(c, 118.0f);
    EXPECT_LE(c, 170.0f);
  }
  // One full cycle is 26 slices.
  for (std::size_t i = 26; i < covers.size(); ++i) EXPECT_EQ(covers[i], covers[i - 26]);
  EXPECT_EQ(covers[20], 170.0f);
}

}  // namespace
