#include "monitor_views.h"

#include <algorithm>
#include <cmath>

#include "sky_scene.h"

namespace {

// A few rectangles: what is left of a monitor as the holes are cut out.
struct Pieces {
  static constexpr int kMost = 16;
  PixelRect piece[kMost];
  int count = 0;
  void Add(const PixelRect &r) {
    if (!IsEmpty(r) && count < kMost) piece[count++] = r;
  }
};

void AddOutside(const PixelRect &r, const PixelRect &hole, Pieces &out) {
  ScreenRect parts[4];
  const int count = PartsOutside(r, hole, parts);
  for (int i = 0; i < count; ++i) out.Add(parts[i]);
}

}  // namespace

Frustum PrimaryFrustum(int width, int height) {
  // As the perspective projection works it out: in double precision from the
  // single-precision field of view, aspect and near plane.
  constexpr double kPi = 3.14159265358979323846;
  const double aspect = AspectOf(width, height);
  const double top = kNear * std::tan(static_cast<double>(kFieldOfView) * kPi / 360.0);
  return {-top * aspect, top * aspect, -top, top, kNear, kFar};
}

Frustum FrustumFor(const PixelRect &area, const PixelRect &primaryWindow, const Frustum &primary) {
  const double width = static_cast<double>(primaryWindow.right - primaryWindow.left);
  const double height = static_cast<double>(primaryWindow.bottom - primaryWindow.top);
  const double perPixelX = (primary.right - primary.left) / (width > 0 ? width : 1);
  const double perPixelY = (primary.top - primary.bottom) / (height > 0 ? height : 1);
  // Pixel columns grow to the right as the plane's x does; rows grow
  // downward, the plane's y upward.
  const auto x = [&](long column) { return primary.left + static_cast<double>(column - primaryWindow.left) * perPixelX; };
  const auto y = [&](long row) { return primary.top - static_cast<double>(row - primaryWindow.top) * perPixelY; };
  return {x(area.left), x(area.right), y(area.bottom), y(area.top), primary.nearPlane, primary.farPlane};
}

MonitorViews OtherMonitorViews(const Monitor *monitors, int count, const PixelRect &primaryWindow,
                               const Frustum &primary) {
  if (count > kMaxMonitors) count = kMaxMonitors;
  PixelRect holes[1 + kMaxMonitors] = {primaryWindow};
  int holeCount = 1;
  for (int i = 0; i < count; ++i) {
    if (monitors[i].primary) holes[holeCount++] = monitors[i].area;
  }
  MonitorViews views;
  for (int i = 0; i < count; ++i) {
    const Monitor &m = monitors[i];
    if (m.primary || IsEmpty(m.area)) continue;
    Pieces parts;
    parts.Add(m.area);
    for (int h = 0; h < holeCount; ++h) {
      Pieces rest;
      for (int p = 0; p < parts.count; ++p) AddOutside(parts.piece[p], holes[h], rest);
      parts = rest;
    }
    for (int p = 0; p < parts.count && views.count < kMaxViews; ++p) {
      const PixelRect &part = parts.piece[p];
      const bool seen =
          std::any_of(views.view, views.view + views.count, [&](const MonitorView &v) { return v.area == part; });
      if (!seen) views.view[views.count++] = {part, FrustumFor(part, primaryWindow, primary)};
    }
  }
  return views;
}
