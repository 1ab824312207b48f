// What every monitor shows of the one sky. The primary window's picture is a
// flat image plane in front of the eye; the whole desktop is taken as that
// same plane, grown to the edges of every monitor at the primary window's
// pixel size. Each monitor looks through its own piece of the plane: an
// off-axis frustum from the same eye with the same camera. So along every
// seam the pixels meet the plane as if the window had been larger, the
// horizon stays level on every monitor (the plane has no roll), and a monitor
// further out looks further round, up to just short of 90 degrees from the
// primary's line of sight however far out it lies. What lies below the sky
// plane shows the clear colour.
#pragma once

#include "screen_rect.h"

// A rectangle of desktop pixels.
using PixelRect = ScreenRect;

struct Monitor {
  PixelRect area;
  bool primary;
};

// The near plane's window, as glFrustum takes it.
struct Frustum {
  double left, right, bottom, top, nearPlane, farPlane;
};

// The primary window's frustum, the one its perspective projection gives: the
// field of view across its height and the aspect of its start-up size (in
// single precision, as the projection takes it).
Frustum PrimaryFrustum(int width, int height);

// The frustum of a desktop rectangle, given where the primary window lies and
// its frustum: the rectangle's pixels continue the primary window's on one
// image plane.
Frustum FrustumFor(const PixelRect &area, const PixelRect &primaryWindow, const Frustum &primary);

// A piece of a monitor that the renderer draws in a window of its own.
struct MonitorView {
  PixelRect area;
  Frustum frustum;
};

// Fixed capacities, so that the renderer needs no growing containers (and
// links none of the runtime's exception support): monitors beyond the first
// kMaxMonitors are not looked at, views beyond kMaxViews not made.
constexpr int kMaxMonitors = 16;
constexpr int kMaxViews = 32;

struct MonitorViews {
  MonitorView view[kMaxViews];
  int count = 0;
};

// The views of the monitors beside the primary one: every monitor's area
// outside the primary window and outside the primary monitor (what the
// primary window leaves of its own monitor is not shown as sky), each as a
// few rectangles. Empty monitors add nothing, nor does the same rectangle
// twice (mirrored monitors).
MonitorViews OtherMonitorViews(const Monitor *monitors, int count, const PixelRect &primaryWindow,
                               const Frustum &primary);
