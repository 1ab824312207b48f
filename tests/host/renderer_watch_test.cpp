#include <gtest/gtest.h>

#include <vector>

#include "renderer_watch.h"

namespace {

// Ticks every 500 ms; returns the time of the tick that ends the run, or -1.
int EndOfRun(const std::vector<bool> &windowAtTick, unsigned limitMs = 5000) {
  RendererWatch watch(limitMs);
  for (std::size_t i = 0; i < windowAtTick.size(); ++i) {
    const unsigned now = static_cast<unsigned>(500 * (i + 1));
    if (watch.RendererGone(now, windowAtTick[i])) return static_cast<int>(now);
  }
  return -1;
}

TEST(RendererWatch, EndsTheRunOnceTheRendererHasGone) {
  struct Case { const char *name; std::vector<bool> window; int end; };
  const Case cases[] = {
      {"window from the first tick, gone at the fourth", {true, true, true, false, false}, 2000},
      {"slow start: window only at the third tick", {false, false, true, true, false}, 2500},
      {"never there: the start-up limit ends it", std::vector<bool>(20, false), 5000},
      {"there just before the limit", {false, false, false, false, false, false, false, false, false, true,
                                       true, false}, 6000},
      {"still running", std::vector<bool>(30, true), -1},
  };
  for (const Case &c : cases) EXPECT_EQ(EndOfRun(c.window), c.end) << c.name;
}

TEST(RendererWatch, AWindowOnceSeenIsNotWaitedForAgain) {
  RendererWatch watch(5000);
  EXPECT_FALSE(watch.RendererGone(100, true));
  EXPECT_TRUE(watch.RendererGone(600, false));
}

}  // namespace
