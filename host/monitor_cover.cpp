#include "monitor_cover.h"

#include <algorithm>

std::vector<ScreenRect> CoverRects(const std::vector<ScreenRect> &monitors, const ScreenRect &primary,
                                   const ScreenRect &window) {
  std::vector<ScreenRect> areas = monitors;
  areas.push_back(primary);
  std::vector<ScreenRect> covers;
  for (const ScreenRect &area : areas) {
    ScreenRect parts[4];
    const int count = PartsOutside(area, window, parts);
    for (int i = 0; i < count; ++i) {
      if (std::find(covers.begin(), covers.end(), parts[i]) == covers.end()) covers.push_back(parts[i]);
    }
  }
  return covers;
}

ScreenRect RendererWindowRect(WindowSize stored, long desktopWidth, long desktopHeight) {
  return {0, 0, FitWindowSide(stored.width, kDefaultWindowWidth, static_cast<int>(desktopWidth), 0),
          FitWindowSide(stored.height, kDefaultWindowHeight, static_cast<int>(desktopHeight), 0)};
}
