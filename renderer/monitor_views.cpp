#include "monitor_views.h"

#include <algorithm>
#include <cmath>

#include "sky_scene.h"

namespace {

bool Empty(const PixelRect &r) { return r.right <= r.left || r.bottom <= r.top; }

// The parts of `r` outside `hole`: at most a band above and one below across
// the whole width, and one to the left and one to the right between them.
std::vector<PixelRect> Outside(const PixelRect &r, const PixelRect &hole) {
  const PixelRect cut = {std::max(r.left, hole.left), std::max(r.top, hole.top), std::min(r.right, hole.right),
                         std::min(r.bottom, hole.bottom)};
  if (Empty(cut)) return {r};
  const PixelRect parts[] = {{r.left, r.top, r.right, cut.top},
                             {r.left, cut.bottom, r.right, r.bottom},
                             {r.left, cut.top, cut.left, cut.bottom},
                             {cut.right, cut.top, r.right, cut.bottom}};
  std::vector<PixelRect> out;
  for (const PixelRect &p : parts) {
    if (!Empty(p)) out.push_back(p);
  }
  return out;
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

std::vector<MonitorView> OtherMonitorViews(const std::vector<Monitor> &monitors, const PixelRect &primaryWindow,
                                           const Frustum &primary) {
  std::vector<PixelRect> holes = {primaryWindow};
  for (const Monitor &m : monitors) {
    if (m.primary) holes.push_back(m.area);
  }
  std::vector<MonitorView> views;
  for (const Monitor &m : monitors) {
    if (m.primary || Empty(m.area)) continue;
    std::vector<PixelRect> parts = {m.area};
    for (const PixelRect &hole : holes) {
      std::vector<PixelRect> rest;
      for (const PixelRect &part : parts) {
        for (const PixelRect &piece : Outside(part, hole)) rest.push_back(piece);
      }
      parts = rest;
    }
    for (const PixelRect &part : parts) {
      const bool seen = std::any_of(views.begin(), views.end(), [&](const MonitorView &v) { return v.area == part; });
      if (!seen) views.push_back({part, FrustumFor(part, primaryWindow, primary)});
    }
  }
  return views;
}
