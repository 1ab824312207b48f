// Which parts of the desktop a full-screen run covers in black besides the
// renderer's own window: every monitor but the primary one. A monitor that
// shares part of the primary's area is covered only outside it, so that no
// cover hides the clouds; one that lies wholly within the primary, or
// repeats another monitor's area (mirrored screens), adds nothing.
#pragma once

#include <vector>

// A screen rectangle in pixels of the virtual desktop: left and top inside,
// right and bottom just outside. The primary monitor's top left is (0, 0);
// other monitors may lie at negative coordinates.
struct ScreenRect {
  long left, top, right, bottom;
  bool operator==(const ScreenRect &o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

// The rectangles to cover, in the order of the monitors, from the list of
// monitors and the primary screen's rectangle. Empty monitors are skipped.
std::vector<ScreenRect> CoverRects(const std::vector<ScreenRect> &monitors, const ScreenRect &primary);
