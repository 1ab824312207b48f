#include "monitor_cover.h"

#include <algorithm>

namespace {

bool Empty(const ScreenRect &r) { return r.right <= r.left || r.bottom <= r.top; }

// The parts of `r` outside `hole`: at most a band above and one below across
// the whole width, and one to the left and one to the right between them.
std::vector<ScreenRect> Outside(const ScreenRect &r, const ScreenRect &hole) {
  const ScreenRect cut = {std::max(r.left, hole.left), std::max(r.top, hole.top), std::min(r.right, hole.right),
                          std::min(r.bottom, hole.bottom)};
  if (Empty(cut)) return {r};
  const ScreenRect parts[] = {{r.left, r.top, r.right, cut.top},
                              {r.left, cut.bottom, r.right, r.bottom},
                              {r.left, cut.top, cut.left, cut.bottom},
                              {cut.right, cut.top, r.right, cut.bottom}};
  std::vector<ScreenRect> out;
  for (const ScreenRect &p : parts) {
    if (!Empty(p)) out.push_back(p);
  }
  return out;
}

}  // namespace

std::vector<ScreenRect> CoverRects(const std::vector<ScreenRect> &monitors, const ScreenRect &primary,
                                   const ScreenRect &window) {
  std::vector<ScreenRect> areas = monitors;
  areas.push_back(primary);
  std::vector<ScreenRect> covers;
  for (const ScreenRect &area : areas) {
    if (Empty(area)) continue;
    for (const ScreenRect &part : Outside(area, window)) {
      if (std::find(covers.begin(), covers.end(), part) == covers.end()) covers.push_back(part);
    }
  }
  return covers;
}

ScreenRect RendererWindowRect(WindowSize stored, long desktopWidth, long desktopHeight) {
  return {0, 0, FitWindowSide(stored.width, kDefaultWindowWidth, static_cast<int>(desktopWidth), 0),
          FitWindowSide(stored.height, kDefaultWindowHeight, static_cast<int>(desktopHeight), 0)};
}
