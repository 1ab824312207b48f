#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "monitor_views.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegrees = 180.0 / kPi;

// The camera of every window: from the origin toward (9.75, 0, 10), up +z.
// Its line of sight, its right (-y: it looks along +x) and its up.
struct Vec {
  double x, y, z;
};
const double kPitch = std::atan2(10.0, 9.75);
const Vec kForward = {std::cos(kPitch), 0.0, std::sin(kPitch)};
const Vec kRight = {0.0, -1.0, 0.0};
const Vec kUp = {-std::sin(kPitch), 0.0, std::cos(kPitch)};

Vec World(double right, double up, double forward) {
  return {kRight.x * right + kUp.x * up + kForward.x * forward, kRight.y * right + kUp.y * up + kForward.y * forward,
          kRight.z * right + kUp.z * up + kForward.z * forward};
}
double Dot(const Vec &a, const Vec &b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

struct Look {
  double azimuth, elevation;  // degrees; azimuth from +x toward +y (negative: to the right)
};
Look LookOf(const Vec &d) {
  const double length = std::sqrt(Dot(d, d));
  return {std::atan2(d.y, d.x) * kDegrees, std::asin(d.z / length) * kDegrees};
}

// Where a frustum's window looks at its centre.
Look CentreOf(const Frustum &f) {
  return LookOf(World((f.left + f.right) / 2, (f.bottom + f.top) / 2, f.nearPlane));
}

// A 1280 x 1024 primary monitor at (0, 0), its window as large.
const PixelRect kPrimary = {0, 0, 1280, 1024};

TEST(MonitorViews, EachMonitorLooksTheWayItLiesFromThePrimary) {
  // Worked out apart from the product, with a pinhole camera whose focal
  // length is 512 / tan 40 degrees in pixels (80 degrees across 1024 rows),
  // the ray of a desktop pixel being (x - 640, 512 - y, focal length) in the
  // camera's right, up and forward.
  struct Case {
    const char *what;
    PixelRect monitor;
    Look centre;
  };
  const Case cases[] = {
      {"the primary itself", kPrimary, {0.0, 45.725}},
      {"one right", {1280, 0, 2304, 768}, {-73.817, 23.687}},
      {"one left", {-1024, 0, 0, 768}, {73.817, 23.687}},
      // Past the zenith: the centre looks back over the eye.
      {"one above", {0, -1024, 1280, 0}, {180.0, 75.065}},
      {"one below", {0, 1024, 1280, 2048}, {0.0, -13.485}},
      {"first of two in a row", {1280, 0, 2560, 1024}, {-71.593, 17.945}},
      {"second of two in a row", {2560, 0, 3840, 1024}, {-80.553, 9.556}},
      {"taller than the primary", {1280, 0, 3200, 1200}, {-73.006, 12.648}},
      {"lower by 300 rows", {1280, 300, 2304, 1068}, {-64.515, 13.942}},
  };
  const Frustum primary = PrimaryFrustum(1280, 1024);
  for (const Case &c : cases) {
    const Look look = CentreOf(FrustumFor(c.monitor, kPrimary, primary));
    EXPECT_NEAR(std::fmod(look.azimuth + 360.0, 360.0), std::fmod(c.centre.azimuth + 360.0, 360.0), 0.002)
        << c.what;
    EXPECT_NEAR(look.elevation, c.centre.elevation, 0.002) << c.what;
  }
}

TEST(MonitorViews, ThePrimaryKeepsItsPerspective) {
  // 80 degrees across the height, 1.25 times as wide, near 1, far 150.
  const Frustum f = PrimaryFrustum(1280, 1024);
  const double top = std::tan(40.0 / kDegrees);
  EXPECT_NEAR(f.top, top, 1e-7);
  EXPECT_NEAR(f.bottom, -top, 1e-7);
  EXPECT_NEAR(f.right, 1.25 * top, 1e-7);
  EXPECT_NEAR(f.left, -1.25 * top, 1e-7);
  EXPECT_EQ(f.nearPlane, 1.0);
  EXPECT_EQ(f.farPlane, 150.0);
}

// Window pixel (from the window's top left) at which a frustum of a window
// of this size shows a world point, as glFrustum's matrix and the viewport
// map it.
struct Pixel {
  double x, y;
};
Pixel Project(const Frustum &f, double width, double height, const Vec &p) {
  const double ex = Dot(p, kRight), ey = Dot(p, kUp), depth = Dot(p, kForward);
  const double nx = (2 * f.nearPlane / (f.right - f.left) * ex - (f.right + f.left) / (f.right - f.left) * depth) /
                    depth;
  const double ny = (2 * f.nearPlane / (f.top - f.bottom) * ey - (f.top + f.bottom) / (f.top - f.bottom) * depth) /
                    depth;
  return {(nx + 1) / 2 * width, (1 - ny) / 2 * height};
}

// The point of the sky plane z = 2 seen through a point of the primary
// window (pixels from its top left), by its perspective of 80 degrees.
Vec SkyPointAt(double x, double y) {
  const double top = std::tan(40.0 / kDegrees), right = 1.25 * top;
  const Vec d = World(-right + x / 1280 * 2 * right, top - y / 1024 * 2 * top, 1.0);
  const double t = 2.0 / d.z;
  return {d.x * t, d.y * t, d.z * t};
}

TEST(MonitorViews, ThePlaneContinuesAcrossEverySeam) {
  // A point of the sky seen on the primary's edge is seen on the facing edge
  // of the monitor beside it, in the same row or column of the desktop.
  struct Case {
    const char *what;
    PixelRect monitor;
    Pixel onPrimary, onMonitor;
  };
  const Case cases[] = {
      {"right, a high row", {1280, 0, 2304, 768}, {1280, 100}, {0, 100}},
      {"right, a low row", {1280, 0, 2304, 768}, {1280, 700}, {0, 700}},
      {"left", {-1024, 0, 0, 768}, {0, 300}, {1024, 300}},
      {"lower by 300 rows", {1280, 300, 2304, 1068}, {1280, 900}, {0, 600}},
      {"above", {0, -1024, 1280, 0}, {200, 0}, {200, 1024}},
  };
  const Frustum primary = PrimaryFrustum(1280, 1024);
  for (const Case &c : cases) {
    const Vec sky = SkyPointAt(c.onPrimary.x, c.onPrimary.y);
    ASSERT_NEAR(sky.z, 2.0, 1e-9) << c.what;
    const PixelRect &m = c.monitor;
    const Pixel seen = Project(FrustumFor(m, kPrimary, primary), static_cast<double>(m.right - m.left),
                               static_cast<double>(m.bottom - m.top), sky);
    EXPECT_NEAR(seen.x, c.onMonitor.x, 1e-6) << c.what;
    EXPECT_NEAR(seen.y, c.onMonitor.y, 1e-6) << c.what;
  }
}

TEST(MonitorViews, ThePrimaryWindowAndMonitorAreLeftOut) {
  struct Case {
    const char *what;
    std::vector<Monitor> monitors;
    PixelRect window;
    std::vector<PixelRect> views;
  };
  const Monitor primary = {kPrimary, true};
  const Case cases[] = {
      {"one monitor", {primary}, kPrimary, {}},
      {"one right", {primary, {{1280, 0, 2304, 768}, false}}, kPrimary, {{1280, 0, 2304, 768}}},
      {"primary listed last", {{{-1024, 0, 0, 768}, false}, primary}, kPrimary, {{-1024, 0, 0, 768}}},
      {"mirrored", {primary, {kPrimary, false}}, kPrimary, {}},
      {"mirrored, a smaller window", {primary, {kPrimary, false}}, {0, 0, 640, 480}, {}},
      {"the same monitor twice", {primary, {{1280, 0, 2304, 768}, false}, {{1280, 0, 2304, 768}, false}}, kPrimary,
       {{1280, 0, 2304, 768}}},
      {"an empty monitor", {primary, {{1280, 0, 1280, 768}, false}}, kPrimary, {}},
      // The settings asked for more than the primary monitor: the window
      // reaches onto the next one, which shows sky only beside it.
      {"a window onto the next monitor", {primary, {{1280, 0, 2304, 1024}, false}}, {0, 0, 1600, 800},
       {{1280, 800, 2304, 1024}, {1600, 0, 2304, 800}}},
      // A smaller window leaves the rest of its own monitor alone.
      {"a smaller window", {primary, {{1280, 0, 2304, 768}, false}}, {0, 0, 640, 480}, {{1280, 0, 2304, 768}}},
  };
  for (const Case &c : cases) {
    const MonitorViews views = OtherMonitorViews(c.monitors.data(), static_cast<int>(c.monitors.size()), c.window,
                                                 PrimaryFrustum(1280, 1024));
    ASSERT_EQ(views.count, static_cast<int>(c.views.size())) << c.what;
    for (int i = 0; i < views.count; ++i) {
      EXPECT_TRUE(views.view[i].area == c.views[i]) << c.what << ", view " << i;
    }
  }
}

TEST(MonitorViews, MoreMonitorsThanItHoldsAreLeftBlack) {
  // Forty monitors in a row right of the primary: the first fifteen beside
  // it (of the sixteen looked at) get views, the rest none.
  std::vector<Monitor> row = {{kPrimary, true}};
  for (long i = 1; i < 40; ++i) row.push_back({{1280 * i, 0, 1280 * (i + 1), 1024}, false});
  const MonitorViews views = OtherMonitorViews(row.data(), static_cast<int>(row.size()), kPrimary,
                                               PrimaryFrustum(1280, 1024));
  ASSERT_EQ(views.count, kMaxMonitors - 1);
  EXPECT_TRUE(views.view[views.count - 1].area == (PixelRect{1280 * 15, 0, 1280 * 16, 1024}));
}

TEST(MonitorViews, EachViewIsTheFrustumOfItsArea) {
  // A smaller primary window sets a larger pixel: the monitor right of it
  // continues from the window's right edge, wherever the window ends.
  const PixelRect window = {0, 0, 640, 512};
  const Frustum primary = PrimaryFrustum(640, 512);
  const Monitor monitors[] = {{kPrimary, true}, {{1280, 0, 2304, 768}, false}};
  const MonitorViews views = OtherMonitorViews(monitors, 2, window, primary);
  ASSERT_EQ(views.count, 1);
  const Frustum &f = views.view[0].frustum;
  const double top = std::tan(40.0 / kDegrees), pixel = 2 * top / 512;
  EXPECT_NEAR(f.left, 1.25 * top + 640 * pixel, 1e-9);
  EXPECT_NEAR(f.right, 1.25 * top + 1664 * pixel, 1e-9);
  EXPECT_NEAR(f.top, top, 1e-9);
  EXPECT_NEAR(f.bottom, top - 768 * pixel, 1e-9);
}

}  // namespace
