#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <map>
#include <utility>
#include <vector>

#include "cloud_pacing.h"
#include "renderer_test_support.h"

namespace {

struct Sky;

class CloudPacingTest : public ::testing::Test {
 public:
  void SetUp() override { ResetNoise(); }
  CloudStep Frame(double t) { return AdvanceCloudRows(pacing, t, texels.data()); }
  // A frame as the scene draws it; `sky` keeps the textures it would show.
  float Step(double t, bool afterRest, Sky &sky);

  CloudPacing pacing;
  std::vector<unsigned char> texels = std::vector<unsigned char>(kSliceBytes);
};

// Each slice completes in the first frame at or after its 3-s beat, and no
// frame builds more rows than its own time and the frame before it are due.
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
  EXPECT_LE(mostRowsInOneFrame, static_cast<int>(128.0 / 3.0 * 2 * longestFrame) + 1);
}

// Frames of 1/fps from `from`, each stretched at random by up to +-jitter.
std::vector<double> FrameTimes(double fps, double seconds, double jitter = 0.0, double from = 0.25) {
  std::vector<double> times;
  Jitter random(7);
  double now = from;
  for (int i = 0; now <= from + seconds; ++i) {
    times.push_back(now);
    const double spread = jitter * (2.0 * random.Next() - 1.0);  // -jitter..jitter
    now = jitter > 0 ? now + (1.0 + spread) / fps : from + (i + 1) / fps;
  }
  return times;
}

TEST_F(CloudPacingTest, SlicesCompleteEveryThreeSecondsAtAnyEvenUnevenOrJitteredRate) {
  struct Case { double fps, seconds, jitter; };
  for (const Case c : {Case{30, 30.2, 0}, Case{60, 30.2, 0}, Case{144, 30.2, 0}, Case{1000, 30.2, 0},
                       Case{7, 60.2, 0}, Case{45.7, 60.2, 0}, Case{7, 60.2, 0.3}, Case{45.7, 60.2, 0.3},
                       Case{61, 60.2, 0.5}, Case{145, 60.2, 0.9}}) {
    SCOPED_TRACE(::testing::Message() << c.fps << " fps, jitter " << c.jitter);
    pacing = CloudPacing{};
    ExpectSliceEveryThreeSeconds(*this, FrameTimes(c.fps, c.seconds, c.jitter));
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
  // Exactly as before for the first hours.
  EXPECT_EQ(SliceDepthAt(3600.5), 3600.5f * (1.0f / 7.0f));
}

// A whole slice of a given time (its depth is the time / 7) and cover.
const std::vector<unsigned char> &SliceOf(double time, float cover) {
  static std::map<std::pair<double, float>, std::vector<unsigned char>> made;
  std::vector<unsigned char> &slice = made[{time, cover}];
  if (slice.empty()) {
    slice.resize(kSliceBytes);
    GenerateCloudRows(0, kSliceSize, slice.data(), cover, 0.97f, static_cast<float>(time) * (1.0f / 7.0f));
  }
  return slice;
}

// The two textures the scene shows; they start as marks no slice can be.
struct Sky {
  static std::vector<unsigned char> Mark(unsigned char first) {
    std::vector<unsigned char> mark(kSliceBytes, 255);
    mark[0] = first;
    return mark;
  }
  std::vector<unsigned char> older = Mark(0), newer = Mark(1);
  int completions = 0;
};

float CloudPacingTest::Step(double t, bool afterRest, Sky &sky) {
  return StepClouds(pacing, t, afterRest, texels.data(), [&] {
    sky.older = sky.newer;
    sky.newer = texels;
    ++sky.completions;
  });
}

// 60 fps frames from 10 s (the slice's start) up to exactly 10 + phase.
void DrawUpTo(CloudPacingTest &test, Sky &sky, double phase) {
  for (int i = 0; i / 60.0 < phase; ++i) test.Step(10.0 + i / 60.0, false, sky);
  test.Step(10.0 + phase, false, sky);
}

// A frame more than 3 s after the one before while the renderer draws (a
// stall, a slow machine) completes the slice at once, whatever the gap: the
// textures rotate, the fade starts again at 0 and the cover steps once. The
// next slice belongs to the late frame's time, and keeps the beat only when
// that frame is within a quarter second of it: back at 13.11 s, a tenth
// later the slice has 0.21 s of rows, 8; back at 13.3 s, 0.1 s of them, 4.
TEST_F(CloudPacingTest, AGapWhileDrawingCompletesTheSliceAtOnce) {
  struct Case { double gap, phase; int rowsSoonAfter; };
  for (const Case c : {Case{3.01, 0.1, 8}, Case{3.2, 0.1, 4}, Case{3.01, 2.99, 4}, Case{8, 1.5, 4},
                       Case{30, 2.5, 4}}) {
    SCOPED_TRACE(::testing::Message() << std::setprecision(4) << c.gap << " s gap at " << c.phase << " s");
    const double back = 10.0 + c.phase + c.gap;
    pacing = CloudPacing{};
    Sky sky;
    DrawUpTo(*this, sky, c.phase);
    ASSERT_EQ(sky.completions, 0);
    EXPECT_EQ(Step(back, false, sky), 0.0f);
    EXPECT_EQ(sky.completions, 1);
    EXPECT_EQ(sky.older, Sky::Mark(1));
    EXPECT_EQ(sky.newer, SliceOf(10, 150));
    EXPECT_EQ(pacing.CloudCover, 146.0f);
    EXPECT_EQ(pacing.RowsDone, 0);
    EXPECT_EQ(pacing.SliceDepth, static_cast<float>(back) * (1.0f / 7.0f));
    EXPECT_EQ(Step(back + 0.1, false, sky), c.rowsSoonAfter / 128.0f);
    EXPECT_EQ(sky.completions, 1);
  }
}

// After a rest nobody saw the sky, and it jumps to where the time has taken
// it: the slices on the 3-s beat from 10 s, with their covers, and the rows
// due in the one in progress. Worked out by hand: slices of 10, 13, 16, ...
// 37 s have covers 150, 146, 142, 138, 134, 130, 126, 122, 118, 122, 126.
TEST_F(CloudPacingTest, AfterARestTheSkyJumpsToThePresent) {
  struct Case {
    double gap, phase;
    // The slices shown (0: the newer one of before the gap), the cover now
    // and the rows of the slice in progress.
    double olderTime;
    float olderCover;
    double newerTime;
    float newerCover, cover;
    int rows;
  };
  const Case cases[] = {
      {3.01, 0.1, 0, 0, 10, 150, 146, 4},      {3.01, 1.5, 0, 0, 10, 150, 146, 64},
      {3.01, 2.5, 0, 0, 10, 150, 146, 107},    {3.01, 2.99, 10, 150, 13, 146, 142, 0},
      {4, 0.1, 0, 0, 10, 150, 146, 46},        {4, 1.5, 0, 0, 10, 150, 146, 106},
      {4, 2.5, 10, 150, 13, 146, 142, 21},     {4, 2.99, 10, 150, 13, 146, 142, 42},
      {5.9, 0.1, 10, 150, 13, 146, 142, 0},    {5.9, 1.5, 10, 150, 13, 146, 142, 59},
      {5.9, 2.5, 10, 150, 13, 146, 142, 102},  {5.9, 2.99, 10, 150, 13, 146, 142, 123},
      {6, 0.1, 10, 150, 13, 146, 142, 4},      {6, 1.5, 10, 150, 13, 146, 142, 64},
      {6, 2.5, 10, 150, 13, 146, 142, 106},    {6, 2.99, 10, 150, 13, 146, 142, 127},
      {8, 0.1, 10, 150, 13, 146, 142, 89},     {8, 1.5, 13, 146, 16, 142, 138, 21},
      {8, 2.5, 13, 146, 16, 142, 138, 64},     {8, 2.99, 13, 146, 16, 142, 138, 84},
      {30, 0.1, 34, 118, 37, 122, 126, 4},     {30, 1.5, 34, 118, 37, 122, 126, 64},
      {30, 2.5, 34, 118, 37, 122, 126, 106},   {30, 2.99, 34, 118, 37, 122, 126, 127},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(::testing::Message() << std::setprecision(4) << c.gap << " s rest at " << c.phase << " s");
    pacing = CloudPacing{};
    Sky sky;
    DrawUpTo(*this, sky, c.phase);
    EXPECT_EQ(Step(10.0 + c.phase + c.gap, true, sky), c.rows / 128.0f);
    EXPECT_EQ(sky.completions, c.olderTime == 0 ? 1 : 2);
    EXPECT_EQ(sky.older, c.olderTime == 0 ? Sky::Mark(1) : SliceOf(c.olderTime, c.olderCover));
    EXPECT_EQ(sky.newer, SliceOf(c.newerTime, c.newerCover));
    EXPECT_EQ(pacing.CloudCover, c.cover);
    EXPECT_EQ(pacing.RowsDone, c.rows);
    // The slice in progress began on the beat, 3 s after the newer one.
    EXPECT_EQ(pacing.SliceDepth, static_cast<float>(c.newerTime + 3) * (1.0f / 7.0f));
  }
}

// A very slow machine: each frame completes one slice, and builds no more.
// The cover walks down to 118 and up to 170 by 4 a slice, a lap of 26.
TEST_F(CloudPacingTest, SteadySixSecondGapsCompleteOneSliceAFrame) {
  const float covers[28] = {150, 146, 142, 138, 134, 130, 126, 122, 118, 122, 126, 130, 134, 138,
                            142, 146, 150, 154, 158, 162, 166, 170, 166, 162, 158, 154, 150, 146};
  Sky sky;
  for (int i = 0; i < 28; ++i) {
    SCOPED_TRACE(i);
    const std::vector<unsigned char> newer = sky.newer;
    const int completions = sky.completions;
    EXPECT_EQ(Step(10.0 + 6.0 * i, false, sky), 0.0f);
    EXPECT_EQ(pacing.CloudCover, covers[i]);
    if (i == 0) continue;
    EXPECT_EQ(sky.completions - completions, 1);
    EXPECT_EQ(sky.older, newer);
  }
  // The newest slice began at the frame before, with the cover then.
  EXPECT_EQ(sky.newer, SliceOf(10.0 + 6.0 * 26, covers[26]));
}

// Rests of any length, 1 s into the slice of 10 s: the slices shown are
// those of the beat from 10 s, with the cover of as many slices (the cover's
// walk repeats every 26). Worked out by hand: after an hour, 1,200 slices,
// the newer of 3,607 s with cover 138 and the cover now 134; after 30 days,
// 864,000, the newer of 2,592,007 s, which lies as deep in the noise as
// 28,775 s, with cover 162 and the cover now 166, rising.
TEST_F(CloudPacingTest, AfterALongRestTheSkyIsWhereTimeHasTakenIt) {
  struct Case {
    const char *name;
    double rest;
    int completions;
    double sliceStart, newerTime;  // 0: no slice completed
    float newerCover, cover, coverStep;
    int rows;
  };
  for (const Case &c : {Case{"0.1 s: no slice missed", 0.1, 0, 10, 0, 0, 150, -4, 46},
                        Case{"1 h", 3600.0, 2, 3610, 3607, 138, 134, -4, 42},
                        Case{"30 days", 30 * 86400.0, 2, 2592010, 28775, 162, 166, 4, 42}}) {
    SCOPED_TRACE(c.name);
    pacing = CloudPacing{};
    Sky sky;
    DrawUpTo(*this, sky, 1.0);
    EXPECT_EQ(Step(11.0 + c.rest, true, sky), c.rows / 128.0f);
    EXPECT_EQ(sky.completions, c.completions);
    EXPECT_DOUBLE_EQ(pacing.sliceStartTime, c.sliceStart);
    EXPECT_EQ(pacing.CloudCover, c.cover);
    EXPECT_EQ(pacing.CoverStep, c.coverStep);
    EXPECT_EQ(pacing.RowsDone, c.rows);
    if (c.completions == 0) continue;
    EXPECT_EQ(sky.newer, SliceOf(c.newerTime, c.newerCover));
    EXPECT_NE(sky.older, sky.newer);
  }
}

TEST_F(CloudPacingTest, ClockStandingStillBuildsNothing) {
  Frame(2.0f);
  Frame(2.5f);
  const int done = pacing.RowsDone;
  Frame(2.5f);
  Frame(2.4f);
  EXPECT_EQ(pacing.RowsDone, done);
}

}  // namespace
