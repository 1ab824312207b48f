#include "sky_scene.h"

#include <cmath>
#include <cstdio>

#include "shared_names.h"

namespace {
constexpr double kScrollS = 0.0125;
constexpr double kScrollT = -0.008333334;
constexpr double kTitleSeconds = 3.0;

// The offset less its whole texture repeats.
float Repeated(double offset) { return static_cast<float>(offset - std::trunc(offset)); }
}  // namespace

ScrollOffsets ScrollAt(double elapsedSeconds) {
  return {Repeated(elapsedSeconds * kScrollS), Repeated(elapsedSeconds * kScrollT)};
}

CloudBlend CloudBlendFor(bool brightFog) {
  return brightFog ? CloudBlend::Over : CloudBlend::Additive;
}

void FogColourFor(bool brightFog, float rgba[4]) {
  const float c = brightFog ? 1.0f : 0.0f;
  rgba[0] = rgba[1] = rgba[2] = c;
  rgba[3] = 0.0f;
}

float AspectOf(int width, int height) {
  return static_cast<float>(width) / static_cast<float>(height == 0 ? 1 : height);
}

bool FpsTitle::Update(double elapsedSeconds, char *title, std::size_t capacity) {
  if (!started) {
    started = true;
    lastTitleTime = elapsedSeconds;
  }
  const double span = elapsedSeconds - lastTitleTime;
  if (!(span > kTitleSeconds)) return false;
  std::snprintf(title, capacity, "%s - %3.1f fps", kRendererClass, FrameCount / span);
  FrameCount = 0;
  lastTitleTime = elapsedSeconds;
  return true;
}
