#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "renderer_watch.h"

namespace {

// What the watch sees at one tick: our renderer's window, and its process.
struct Seen {
  RendererWindow window;
  RendererProcess process;
};
constexpr RendererProcess kNone = RendererProcess::NotStarted, kRuns = RendererProcess::Running,
                          kEnded = RendererProcess::Ended;
constexpr RendererWindow kNoWindow = RendererWindow::None, kHidden = RendererWindow::Hidden,
                         kShown = RendererWindow::Shown;
constexpr WatchVerdict kWait = WatchVerdict::Wait, kEnd = WatchVerdict::EndRun,
                       kEndBoth = WatchVerdict::EndRunAndRenderer;

// Ticks every 500 ms from the start; the time of the tick that ends the run
// (-1 for none) and what it decided.
std::pair<int, WatchVerdict> EndOfRun(const std::vector<Seen> &ticks) {
  RendererWatch watch;
  for (std::size_t i = 0; i < ticks.size(); ++i) {
    const unsigned long long at = 500 * (i + 1);
    const WatchVerdict verdict = watch.Tick(ticks[i].window, ticks[i].process, at);
    if (verdict != kWait) return {static_cast<int>(at), verdict};
  }
  return {-1, kWait};
}

std::vector<Seen> Repeat(Seen seen, int n) { return std::vector<Seen>(static_cast<std::size_t>(n), seen); }

std::vector<Seen> Then(std::vector<Seen> a, const std::vector<Seen> &b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(RendererWatch, EndsTheRunOnceItsOwnRendererHasGoneOrNeverShows) {
  struct Case {
    const char *name;
    std::vector<Seen> ticks;
    int end;
    WatchVerdict verdict;
  };
  const Case cases[] = {
      {"window from the first tick, gone at the fourth", Then(Repeat({kShown, kRuns}, 3), {{kNoWindow, kEnded}}),
       2000, kEnd},
      {"window closed while the process still runs", Then(Repeat({kShown, kRuns}, 2), {{kNoWindow, kRuns}}), 1500,
       kEnd},
      {"slow start: 14.5 s without a window, then one",
       Then(Then(Repeat({kNoWindow, kRuns}, 29), Repeat({kShown, kRuns}, 2)), {{kNoWindow, kEnded}}), 16000, kEnd},
      {"slow start: hidden for 14.5 s, then shown and kept", Then(Repeat({kHidden, kRuns}, 29), Repeat({kShown, kRuns}, 60)),
       -1, kWait},
      {"a window that never shows: the run and its renderer end at 15 s", Repeat({kHidden, kRuns}, 60), 15000,
       kEndBoth},
      {"no window at all from a running process: the same", Repeat({kNoWindow, kRuns}, 60), 15000, kEndBoth},
      {"the process ends without ever showing a window", Then(Repeat({kNoWindow, kRuns}, 3), {{kNoWindow, kEnded}}),
       2000, kEnd},
      {"the process ends with its window hidden", Then(Repeat({kHidden, kRuns}, 3), {{kHidden, kEnded}}), 2000, kEnd},
      {"no process could be started: the first tick ends it", Repeat({kNoWindow, kNone}, 20), 500, kEnd},
      {"still running long after the start", Repeat({kShown, kRuns}, 60), -1, kWait},
      {"a shown window that is hidden again still counts", Then({{kShown, kRuns}}, Repeat({kHidden, kRuns}, 60)), -1,
       kWait},
  };
  for (const Case &c : cases) {
    const auto [end, verdict] = EndOfRun(c.ticks);
    EXPECT_EQ(end, c.end) << c.name;
    EXPECT_EQ(verdict, c.verdict) << c.name;
  }
}

// The limit is on the time since the start, not on a count of ticks, which
// come late on a loaded machine.
TEST(RendererWatch, TheStartLimitCountsTimeNotTicks) {
  RendererWatch watch;
  EXPECT_EQ(watch.Tick(kHidden, kRuns, 500), kWait);
  EXPECT_EQ(watch.Tick(kHidden, kRuns, 14999), kWait);
  EXPECT_EQ(watch.Tick(kHidden, kRuns, 15000), kEndBoth);
}

}  // namespace
