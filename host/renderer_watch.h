// Whether the renderer of a full-screen run has gone, from what the watch
// sees at each tick: a window of the renderer's class that belongs to the
// process this run started, and whether that process still runs.
//
// A renderer's window may take a long while to appear (a slow start, a
// loaded machine): while its process runs the run waits for it, and a process
// that ends without one ends the run at once. Windows of other renderers (one
// left from an earlier run, one started by hand) do not count. A renderer
// that could not be started at all leaves nothing to wait for: the first
// tick ends the run, about 500 ms after the load.
#pragma once

enum class RendererProcess { NotStarted, Running, Ended };

class RendererWatch {
 public:
  // One tick: true when the run should end.
  bool RendererGone(bool windowPresent, RendererProcess process) {
    if (windowPresent) {
      seen_ = true;
      return false;
    }
    return seen_ || process != RendererProcess::Running;
  }

 private:
  bool seen_ = false;
};
