#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "cloud_pacing.h"

namespace {

class CloudPacingTest : public ::testing::Test {
 public:
  void SetUp() override {
    SetRandState(1);
    FillNoiseLattice();
  }
  CloudStep Frame(double t) { return AdvanceCloudRows(pacing, t, texels.data()); }

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

// Slices complete every 3 s of elapsed time whatever the frame times: each
// one in the first frame at or after its due time, never before and never a
// frame later, so that neither the period nor a late frame drifts the beat.
// The rows are spread over the frames in between: none builds more than the
// rows of its own time and of the frame before it (the rows of a new slice
// that became due while the frame completing the old one ran).
void ExpectSliceEveryThreeSeconds(CloudPacingTest &test, const std::vector<double> &times) {
  std::vector<double> completions;
  int mostRowsInOneFrame = 0, previousDone = 0;
  float previousFade = 0.0f;
  double longestFrame = 0.0;
  for (std::size_t i = 0; i < times.size(); ++i) {
    if (i > 0) longestFrame = std::max(longestFrame, times[i] - times[i - 1]);
    const CloudStep step = test.Frame(times[i]);
    if (step.sliceComplete) {
      completions.push_back(times[i]);
      EXPECT_EQ(step.FadeFraction, 0.0f);
      mostRowsInOneFrame = std::max(mostRowsInOneFrame, kSliceSize - previousDone);
    } else {
      EXPECT_GE(step.FadeFraction, previousFade);
      mostRowsInOneFrame = std::max(mostRowsInOneFrame, test.pacing.RowsDone - previousDone);
    }
    previousDone = test.pacing.RowsDone;
    previousFade = step.FadeFraction;
  }
  const double start = times.front();
  ASSERT_EQ(completions.size(), static_cast<std::size_t>((times.back() - start) / 3.0));
  for (std::size_t k = 0; k < completions.size(); ++k) {
    const double due = start + 3.0 * (k + 1);
    EXPECT_GE(completions[k], due - 1e-4) << "slice " << k;
    EXPECT_LT(completions[k], due + longestFrame) << "slice " << k;
  }
  EXPECT_LE(mostRowsInOneFrame, static_cast<int>(kRowsPerSecond * 2 * longestFrame) + 1);
}

// Frame times from `from` for `seconds`, each frame 1/fps long, stretched or
// shrunk at random by up to `jitter` of that.
std::vector<double> FrameTimes(double fps, double seconds, double jitter = 0.0, double from = 0.25) {
  std::vector<double> times;
  std::uint32_t state = 7;
  double now = from;
  for (int i = 0; now <= from + seconds; ++i) {
    times.push_back(now);
    state = state * 1664525u + 1013904223u;
    const double spread = jitter * ((state >> 8) / 8388608.0 - 1.0);  // -jitter..jitter
    now = jitter > 0 ? now + (1.0 + spread) / fps : from + (i + 1) / fps;
  }
  return times;
}

TEST_F(CloudPacingTest, SlicesCompleteEveryThreeSecondsAtAnyFrameRate) {
  for (float fps : {30.0f, 60.0f, 144.0f, 1000.0f}) {
    SCOPED_TRACE(::testing::Message() << fps << " fps");
    pacing = CloudPacing{};
    ExpectSliceEveryThreeSeconds(*this, FrameTimes(fps, 30.2));
  }
}

// Frame rates where 3 s is not a whole number of frames, and frames paced to
// a display with the jitter of a real clock.
TEST_F(CloudPacingTest, SlicesCompleteEveryThreeSecondsAtUnevenAndJitteredRates) {
  struct Case { const char *name; double fps, jitter; };
  const Case cases[] = {
      {"7 fps", 7.0, 0.0},
      {"45.7 fps", 45.7, 0.0},
      {"7 fps, jittered", 7.0, 0.3},
      {"45.7 fps, jittered", 45.7, 0.3},
      {"paced at 61 fps, jittered", 61.0, 0.5},
      {"paced at 145 fps, jittered", 145.0, 0.9},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    pacing = CloudPacing{};
    ExpectSliceEveryThreeSeconds(*this, FrameTimes(c.fps, 60.2, c.jitter));
  }
}

// Runs go on for days: the beat holds whenever the run is.
TEST_F(CloudPacingTest, SlicesCompleteEveryThreeSecondsForAYear) {
  const double day = 86400.0;
  for (double from : {60.0, day, 7 * day, 30 * day, 365 * day}) {
    SCOPED_TRACE(::testing::Message() << from << " s");
    pacing = CloudPacing{};
    ExpectSliceEveryThreeSeconds(*this, FrameTimes(60.0, 9.2, 0.3, from));
    // Each slice lies 3/7 deeper in the noise than the one before (whole
    // periods of 32 aside), not wherever a coarse float rounds it to.
    const double step = std::remainder(SliceDepthAt(from + 3.0) - SliceDepthAt(from), 32.0);
    EXPECT_NEAR(step, 3.0 / 7.0, 0.01 * 3.0 / 7.0);
  }
}

struct SliceStats {
  double mean = 0, spread = 0, clear = 0;  // over the texel bytes; clear: share of zero bytes
};

SliceStats StatsOfSlices(double from, int count) {
  std::vector<unsigned char> texels(kSliceBytes);
  double sum = 0, squares = 0, zeros = 0, n = 0;
  for (int i = 0; i < count; ++i) {
    GenerateCloudRows(0, kSliceSize, texels.data(), 150.0f, 0.97f, SliceDepthAt(from + 3.0 * i));
    for (int t = 0; t < kSliceBytes; t += 4) {
      sum += texels[t];
      squares += texels[t] * texels[t];
      zeros += texels[t] == 0;
      n += 1;
    }
  }
  const double mean = sum / n;
  return {mean, std::sqrt(squares / n - mean * mean), zeros / n};
}

// Depth keeps its resolution: slices of a month-long run are clouds like
// those of the first hour, not the blocky planes of a depth that lost its
// fraction.
TEST_F(CloudPacingTest, SlicesAfterAMonthLookLikeThoseOfTheFirstHour) {
  const SliceStats early = StatsOfSlices(600.0, 12);
  const SliceStats month = StatsOfSlices(30 * 86400.0 + 600.0, 12);
  EXPECT_NEAR(month.mean, early.mean, early.mean * 0.15);
  EXPECT_NEAR(month.spread, early.spread, early.spread * 0.15);
  EXPECT_NEAR(month.clear, early.clear, 0.05);
  // Exactly as before for the first hours.
  EXPECT_EQ(SliceDepthAt(3600.5), 3600.5f * (1.0f / 7.0f));
}

// A frame after a gap: the textures the sky shows, as the scene keeps them.
struct Sky {
  std::vector<unsigned char> older, newer;
  int uploads = 0;
};

TEST_F(CloudPacingTest, AfterAGapTheSkyJumpsToWhereTimeHasTakenIt) {
  struct Case {
    const char *name;
    double gap;
    bool jumps;
  };
  const Case cases[] = {
      {"0.1 s", 0.1, false},         {"3 s", 3.0, false},           {"4.5 s: one slice missed", 4.5, false},
      {"6 s: two missed", 6.0, true}, {"1 h", 3600.0, true},         {"30 days", 30 * 86400.0, true}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    pacing = CloudPacing{};
    for (int i = 0; i <= 60; ++i) Frame(10.0 + i / 60.0);  // slice started at 10 s
    const double back = 11.0 + c.gap;
    Sky sky;
    const bool jumped = CatchUpClouds(pacing, back, texels.data(), [&](int i) {
      (i == 0 ? sky.older : sky.newer) = texels;
      sky.uploads += 1;
    });
    EXPECT_EQ(jumped, c.jumps);
    const CloudStep step = Frame(back);
    if (!c.jumps) {
      EXPECT_EQ(sky.uploads, 0);
      continue;
    }
    EXPECT_EQ(sky.uploads, 2);
    // As if it had drawn all along: the slice due now started on the 3-s beat
    // from 10 s, with the cover of as many slices, one step at a time.
    const long long slices = static_cast<long long>((back - 10.0) / 3.0);
    EXPECT_DOUBLE_EQ(pacing.sliceStartTime, 10.0 + 3.0 * slices);
    CloudPacing walked;
    for (long long k = 0; k < slices; ++k) StepCover(walked, 1);
    EXPECT_EQ(pacing.CloudCover, walked.CloudCover);
    EXPECT_EQ(pacing.CoverStep, walked.CoverStep);
    // The newer slice is the one of 3 s before the beat, with the cover before the last step.
    StepCover(walked, 25);  // one lap (26) back
    std::vector<unsigned char> expected(kSliceBytes);
    GenerateCloudRows(0, kSliceSize, expected.data(), walked.CloudCover, 0.97f,
                      SliceDepthAt(pacing.sliceStartTime - 3.0));
    EXPECT_EQ(sky.newer, expected);
    EXPECT_NE(sky.older, sky.newer);
    // The frame builds only the rows due in the new slice.
    EXPECT_FALSE(step.sliceComplete);
    EXPECT_EQ(pacing.RowsDone, static_cast<int>((back - pacing.sliceStartTime) * kRowsPerSecond));
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
