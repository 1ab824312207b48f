#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "frame_pacing.h"
#include "renderer_test_support.h"

namespace {

TEST(FramePacing, PeriodIsOneHertzAboveTheReportedRefresh) {
  struct Case { int hz; double rate; };
  for (const Case c : {Case{0, 61}, Case{1, 61}, Case{-3, 61}, Case{2, 3}, Case{59, 60}, Case{60, 61},
                       Case{75, 76}, Case{144, 145}}) {
    EXPECT_DOUBLE_EQ(FramePeriodFor(c.hz), 1.0 / c.rate) << c.hz << " Hz";
  }
}

// The renderer's loop on a simulated clock: an empty queue either waits (the
// wait ends `oversleep` late, up to that much) or draws a frame that costs
// `work`; where `retrace` is set, the swap returns only at the next retrace.
struct LoopRun {
  int frames = 0;
  int turns = 0;       // times the loop found its queue empty
  int lateWakes = 0;   // frame starts that came after a retrace they could have met
  double firstFrame = -1, lastFrame = -1;
};

// A frame costs `work` plus up to `workJitter` at random, or with `spell`
// the whole jitter in every other spell of that many frames.
LoopRun Simulate(int reportedHz, double seconds, double work, double oversleep, double retrace = 0,
                 double workJitter = 0, int spell = 0) {
  FramePacer pacer;
  pacer.period = FramePeriodFor(reportedHz);
  Jitter jitter(12345);
  LoopRun run;
  double now = 0.25;
  while (now < seconds) {
    ++run.turns;
    const unsigned wait = FrameWaitMs(pacer, now);
    if (wait > 0) {
      now += wait / 1000.0 + oversleep * jitter.Next();
      continue;
    }
    FrameStarted(pacer, now);
    if (run.firstFrame < 0) run.firstFrame = now;
    run.lastFrame = now;
    ++run.frames;
    now += work + workJitter * (spell > 0 ? (run.frames / spell) % 2 : jitter.Next());
    if (retrace > 0) now = std::ceil(now / retrace) * retrace;
  }
  return run;
}

// Without a waiting swap frames come at the paced rate, and the loop waits
// rather than spins.
TEST(FramePacing, WithoutRetraceFramesComeAtThePacedRate) {
  struct Case { const char *name; int hz; double work, oversleep, workJitter, rate; };
  const Case cases[] = {
      {"small window", 60, 0.0015, 0.0, 0.0, 61},
      {"small window, late wakes", 60, 0.0015, 0.002, 0.0, 61},
      {"large window, jittered", 60, 0.006, 0.001, 0.008, 61},
      {"no report", 0, 0.0005, 0.0005, 0.0, 61},
      {"fast display", 144, 0.001, 0.0005, 0.0, 145},
      {"slower than refresh", 60, 0.020, 0.001, 0.0, 50},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const LoopRun run = Simulate(c.hz, 20.25, c.work, c.oversleep, 0, c.workJitter);
    const double rate = (run.frames - 1) / (run.lastFrame - run.firstFrame);
    EXPECT_NEAR(rate, c.rate, c.rate * 0.01);
    EXPECT_LE(run.turns, 4 * run.frames);
  }
}

// Frames whose cost straddles the period, as on a busy machine: pacing costs
// no frames that the loop could have drawn below the paced rate.
TEST(FramePacing, FramesThatCostAboutAPeriodComeAsFastAsTheyCan) {
  struct Case { const char *name; double work, workJitter; int spell; };
  const Case cases[] = {
      {"mostly slower than the period", 0.010, 0.015, 0},
      {"a little slower", 0.014, 0.008, 0},
      {"about the period", 0.008, 0.016, 0},
      {"widely spread", 0.002, 0.030, 0},
      {"slow and fast by turns", 0.012, 0.010, 6},
      {"slow and fast spells", 0.012, 0.010, 30},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const LoopRun run = Simulate(60, 60.25, c.work, 0.001, 0, c.workJitter, c.spell);
    const double rate = (run.frames - 1) / (run.lastFrame - run.firstFrame);
    const double freeRate = 1.0 / (c.work + c.workJitter / 2);
    EXPECT_GE(rate, 0.98 * std::min(freeRate, 61.0)) << "free " << freeRate;
  }
}

// Where the swap waits for a retrace whose rate is not quite the reported one,
// the pacer never holds a frame past a retrace: every retrace shows a frame.
TEST(FramePacing, WithRetraceEveryRetraceGetsAFrame) {
  struct Case { const char *name; int hz; double realHz, work, oversleep; };
  const Case cases[] = {
      {"59.94 Hz read as 59", 59, 59.94, 0.004, 0.001},
      {"60 Hz exactly", 60, 60.0, 0.004, 0.002},
      {"a little fast", 60, 60.4, 0.010, 0.001},
      {"23.976 Hz read as 23", 23, 23.976, 0.004, 0.002},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const LoopRun run = Simulate(c.hz, 20.25, c.work, c.oversleep, 1.0 / c.realHz);
    const double retraces = (run.lastFrame - run.firstFrame) * c.realHz;
    EXPECT_NEAR(run.frames - 1, retraces, 0.5);
  }
}

TEST(FramePacing, FirstFrameAtOnceThenTheRestOfThePeriod) {
  FramePacer pacer;
  pacer.period = FramePeriodFor(60);  // 16.39 ms
  EXPECT_EQ(FrameWaitMs(pacer, 5.0), 0u);
  FrameStarted(pacer, 5.0);
  struct Case { double at; unsigned ms; };
  for (const Case c : {Case{5.0, 16}, Case{5.002, 14}, Case{5.0153, 1}, Case{5.0155, 0},
                       Case{5.02, 0}}) {
    EXPECT_EQ(FrameWaitMs(pacer, c.at), c.ms) << c.at;
  }
  // A clock that stepped back waits one period at most.
  EXPECT_EQ(FrameWaitMs(pacer, 4.0), 16u);
}

// Waits that end late are made up by the next frames, and so is lateness up
// to a quarter of a second; beyond that a stall is forgiven, with no long
// burst of catching up; a frame the system asked for early restarts the
// schedule.
TEST(FramePacing, ScheduleKeepsItsBeatAndRestartsWhenOff) {
  const double period = FramePeriodFor(60);
  struct Case { const char *name; double start, next; };
  const Case cases[] = {
      {"on time", 1.0 + period, 1.0 + 2 * period},
      {"late by half a period", 1.0 + 1.5 * period, 1.0 + 2 * period},
      {"late by a whole period", 1.0 + 2 * period, 1.0 + 2 * period},
      {"late by five periods", 1.0 + 6 * period, 1.0 + 2 * period},
      {"late by a second", 2.0 + period, 1.75 + period},
      {"early by less than a wait", 1.0 + period - 0.0009, 1.0 + 2 * period},
      {"early, asked by the system", 1.0 + period - 0.008, 1.0 + 2 * period - 0.008},
  };
  for (const Case &c : cases) {
    FramePacer pacer;
    pacer.period = period;
    FrameStarted(pacer, 1.0);
    FrameStarted(pacer, c.start);  // the frame due at 1 + period
    EXPECT_NEAR(pacer.nextFrameTime, c.next, 1e-12) << c.name;
  }
}

// After a rest the next frame starts at once and the schedule from it: time
// spent resting is no lateness to make up with a burst of frames, and a rest
// shorter than a period does not hold the first frame back.
TEST(FramePacing, AfterARestTheNextFrameStartsAtOnceAndTheScheduleFromIt) {
  for (double rest : {0.005, 0.1, 10.0}) {
    SCOPED_TRACE(::testing::Message() << rest << " s rest");
    FramePacer pacer;
    pacer.period = FramePeriodFor(60);  // 16.39 ms
    FrameStarted(pacer, 1.0);
    RestartPacing(pacer);
    const double back = 1.0 + rest;
    EXPECT_EQ(FrameWaitMs(pacer, back), 0u);
    FrameStarted(pacer, back);
    EXPECT_EQ(FrameWaitMs(pacer, back), 16u);
    EXPECT_EQ(FrameWaitMs(pacer, back + 0.010), 6u);
  }
}

}  // namespace
