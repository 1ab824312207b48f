// Whether the renderer of a full-screen run has gone, from what the watch
// sees at each tick: a window of the renderer's class that belongs to the
// process this run started (none, still hidden, or shown), and whether that
// process still runs.
//
// A renderer's window may take a while to appear (a slow start, a loaded
// machine): while its process runs the run waits for a shown window, but
// not for ever. The renderer makes its window hidden and its GL context
// while making it, so a renderer stuck there (a driver hung in context
// creation) has a window that never shows: when nothing has shown
// kStartLimitMs after the run started, the run ends, and so does that
// process, which belongs to this run and would otherwise cover the desktop
// after it. A process that ends without a shown window ends the run at once.
// Windows of other renderers (one left from an earlier run, one started by
// hand) do not count. A renderer that could not be started at all leaves
// nothing to wait for: the first tick ends the run, about 500 ms after the
// load.
#pragma once

enum class RendererProcess { NotStarted, Running, Ended };
enum class RendererWindow { None, Hidden, Shown };

enum class WatchVerdict {
  Wait,
  EndRun,               // the renderer has gone, or never started
  EndRunAndRenderer,    // it runs but has shown nothing in time: end it too
};

constexpr unsigned kStartLimitMs = 15000;

class RendererWatch {
 public:
  // One tick, `sinceStartMs` after the run started.
  WatchVerdict Tick(RendererWindow window, RendererProcess process, unsigned long long sinceStartMs) {
    if (window == RendererWindow::Shown) seen_ = true;
    // Once shown, the window counts as long as it exists.
    if (seen_) return window == RendererWindow::None ? WatchVerdict::EndRun : WatchVerdict::Wait;
    if (process != RendererProcess::Running) return WatchVerdict::EndRun;
    return sinceStartMs >= kStartLimitMs ? WatchVerdict::EndRunAndRenderer : WatchVerdict::Wait;
  }

 private:
  bool seen_ = false;
};
