// Black windows over every monitor but the primary one during a full-screen
// run. They are top-most and never take the focus, so the renderer keeps the
// keyboard and Escape still ends the run; they go with the run's window at
// the end of the run. The pointer over them is hidden as the run hid it: not
// at all in a run started without arguments.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "window_win32.h"

class MonitorCovers {
 public:
  MonitorCovers();
  ~MonitorCovers();
  // Covers every monitor but the primary one.
  void CoverOthers(bool hidePointer);

 private:
  class Cover;
  std::vector<std::unique_ptr<Cover>> covers_;
};
