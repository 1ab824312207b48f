#include <gtest/gtest.h>

#include <vector>

#include "renderer_watch.h"

namespace {

// What the watch sees at one tick: our renderer's window, and its process.
struct Seen {
  bool window;
  RendererProcess process;
};
constexpr RendererProcess kNone = RendererProcess::NotStarted, kRuns = RendererProcess::Running,
                          kEnded = RendererProcess::Ended;

// Ticks every 500 ms; returns the time of the tick that ends the run, or -1.
int EndOfRun(const std::vector<Seen> &ticks) {
  RendererWatch watch;
  for (std::size_t i = 0; i < ticks.size(); ++i) {
    if (watch.RendererGone(ticks[i].window, ticks[i].process)) return static_cast<int>(500 * (i + 1));
  }
  return -1;
}

std::vector<Seen> Repeat(Seen seen, int n) { return std::vector<Seen>(static_cast<std::size_t>(n), seen); }

std::vector<Seen> Then(std::vector<Seen> a, const std::vector<Seen> &b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(RendererWatch, EndsTheRunOnceItsOwnRendererHasGone) {
  struct Case { const char *name; std::vector<Seen> ticks; int end; };
  const Case cases[] = {
      {"window from the first tick, gone at the fourth",
       Then(Repeat({true, kRuns}, 3), {{false, kEnded}}), 2000},
      {"window closed while the process still runs", Then(Repeat({true, kRuns}, 2), {{false, kRuns}}), 1500},
      {"slow start: a minute without a window, then one",
       Then(Then(Repeat({false, kRuns}, 120), Repeat({true, kRuns}, 2)), {{false, kEnded}}), 61500},
      {"the process ends without ever showing a window", Then(Repeat({false, kRuns}, 3), {{false, kEnded}}), 2000},
      {"no process could be started: the first tick ends it", Repeat({false, kNone}, 20), 500},
      {"still running", Repeat({true, kRuns}, 30), -1},
  };
  for (const Case &c : cases) EXPECT_EQ(EndOfRun(c.ticks), c.end) << c.name;
}

TEST(RendererWatch, AWindowOnceSeenIsNotWaitedForAgain) {
  RendererWatch watch;
  EXPECT_FALSE(watch.RendererGone(true, kRuns));
  EXPECT_TRUE(watch.RendererGone(false, kRuns));
}

}  // namespace
