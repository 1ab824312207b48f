// Whether the renderer of a full-screen run has gone, from what the watch
// sees at each tick. A renderer's window may take a moment to appear (a slow
// start, a loaded machine); until it has been seen once, only a start-up
// limit without it ends the run.
#pragma once

constexpr unsigned kRendererStartupLimitMs = 5000;

class RendererWatch {
 public:
  explicit RendererWatch(unsigned startupLimitMs = kRendererStartupLimitMs) : limit_(startupLimitMs) {}

  // One tick, `sinceLoadMs` after the run began: true when the run should end.
  bool RendererGone(unsigned sinceLoadMs, bool windowPresent) {
    if (windowPresent) {
      seen_ = true;
      return false;
    }
    return seen_ || sinceLoadMs >= limit_;
  }

 private:
  unsigned limit_;
  bool seen_ = false;
};
