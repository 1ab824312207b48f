// What the sky scene draws, apart from the GL calls: colours, geometry,
// scroll speed, the fog and blend choice, and the frame-rate title.
#pragma once

#include <cstddef>

struct Rgb {
  float r, g, b;
};

constexpr Rgb kZenith{0.23f, 0.37f, 0.57f};
constexpr Rgb kMiddle{0.53f, 0.67f, 0.97f};
constexpr Rgb kHorizon{0.9f, 0.95f, 1.0f};
constexpr float kCloudTint = 0.7f;

// The sky plane: z = 2, the gradient's inner square at +-6, the edge at +-20.
constexpr float kSkyHeight = 2.0f;
constexpr float kInner = 6.0f;
constexpr float kOuter = 20.0f;
constexpr float kTextureSpan = 2.0f;  // the slice repeats twice across the plane

// Camera and projection.
constexpr float kFieldOfView = 80.0f;
constexpr float kNear = 1.0f;
constexpr float kFar = 150.0f;
constexpr float kLookAt[3] = {9.75f, 0.0f, 10.0f};
constexpr float kFogStart = 0.0f;
constexpr float kFogEnd = 20.0f;

struct ScrollOffsets {
  float s, t;
};

// Texture scroll at the given time: 0.25 world units/s toward -x, 1/6 toward +y.
// The offsets come reduced by whole texture repeats, which draw the same
// picture, so they stay small and every frame moves, however long the run.
ScrollOffsets ScrollAt(double elapsedSeconds);

// Plain fog is black and the clouds add light; bright fog is white and the
// clouds are blended over the sky by their alpha.
enum class CloudBlend { Additive, Over };
CloudBlend CloudBlendFor(bool brightFog);
void FogColourFor(bool brightFog, float rgba[4]);

// Width / height in single precision; a zero height counts as one.
float AspectOf(int width, int height);

// The window title shows the frame rate, refreshed when more than 3 seconds
// of drawing have passed since the last refresh.
struct FpsTitle {
  double lastTitleTime = 0.0;
  int FrameCount = 0;  // frames drawn since the last refresh
  bool started = false;

  // Returns true and fills `title` when the title is due at this frame.
  bool Update(double elapsedSeconds, char *title, std::size_t capacity);
  // Time spent not drawing does not count into the rate.
  void Rested(double seconds) { lastTitleTime += seconds; }
};
