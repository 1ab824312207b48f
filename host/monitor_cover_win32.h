// Black windows over whatever of the monitors the renderer's window leaves
// open during a full-screen run: the other monitors, and the rest of the
// primary when the window is smaller than it. They lie beneath the
// renderer's windows and never take the focus, so the renderer keeps the
// keyboard and Escape still ends the run; they go with the run's window at
// the end of the run. The pointer over them is hidden as the run hid it: not
// at all in a run started without arguments.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "monitor_cover.h"
#include "window_win32.h"

class MonitorCovers {
 public:
  MonitorCovers();
  ~MonitorCovers();
  // Covers what a renderer's window at `window` would leave open, before
  // the renderer has made it: the renderer's windows come above the covers.
  void Lay(const ScreenRect &window, bool hidePointer);
  // Fits the covers to where the renderer's window really is, and puts them
  // all beneath `lowest`, the lowest of the renderer's windows.
  void FitAround(const ScreenRect &window, HWND lowest);

 private:
  class Cover;
  void Make(const std::vector<ScreenRect> &rects);
  HCURSOR pointer_ = nullptr;  // none: hidden
  std::vector<ScreenRect> rects_;
  std::vector<std::unique_ptr<Cover>> covers_;
};
