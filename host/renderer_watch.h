// Whether the renderer of a full-screen run has gone, from what the watch
// sees at each tick: a window of the renderer's class that belongs to the
// process this run started, and whether that process still runs.
//
// A renderer's window may take a long while to appear (a slow start, a
// loaded machine): while its process runs the run waits for it, and a process
// that ends without one ends the run at once. Windows of other renderers (one
// left from an earlier run, one started by hand) do not count. Only when no
// process could be started does a start-up limit end a run without a window.
#pragma once

constexpr unsigned kRendererStartupLimitMs = 5000;

enum class RendererProcess { NotStarted, Running, Ended };

class RendererWatch {
 public:
  explicit RendererWatch(unsigned startupLimitMs = kRendererStartupLimitMs) : limit_(startupLimitMs) {}

  // One tick, `sinceLoadMs` after the run began: true when the run should end.
  bool RendererGone(unsigned sinceLoadMs, bool windowPresent, RendererProcess process) {
    if (windowPresent) {
      seen_ = true;
      return false;
    }
    if (seen_) return true;
    switch (process) {
      case RendererProcess::Running: return false;
      case RendererProcess::Ended: return true;
      case RendererProcess::NotStarted: break;
    }
    return sinceLoadMs >= limit_;
  }

 private:
  unsigned limit_;
  bool seen_ = false;
};
