#include "sky_scene.h"

#include <cstdio>

#include "shared_names.h"

namespace {
constexpr float kScrollS = 0.0125f;
constexpr float kScrollT = -0.008333334f;
constexpr float kTitleSeconds = 3.0f;
}  // namespace

ScrollOffsets ScrollAt(float elapsedSeconds) {
  return {elapsedSeconds * kScrollS, elapsedSeconds * kScrollT};
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

bool FpsTitle::Update(float elapsedSeconds, char *title, std::size_t capacity) {
  if (!started) {
    started = true;
    lastTitleTime = elapsedSeconds;
  }
  const float span = elapsedSeconds - lastTitleTime;
  if (!(span > kTitleSeconds)) return false;
  std::snprintf(title, capacity, "%s - %3.1f fps", kRendererClass,
                static_cast<double>(static_cast<float>(FrameCount) / span));
  FrameCount = 0;
  lastTitleTime = elapsedSeconds;
  return true;
}
