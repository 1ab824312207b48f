// Pacing of the cloud slices: while two finished slices cross-fade, the next
// one is built row by row, 128 rows every 3 seconds of elapsed time, spread
// over the frames. The GL side only uploads and rotates textures when a slice
// completes; everything else happens here, with the time passed in.
#pragma once

constexpr float kRowsPerSecond = 128.0f / 3.0f;  // 42.666668
constexpr float kSecondsToDepth = 1.0f / 7.0f;   // noise depth per second
constexpr float kStartupSliceTimes[2] = {-6.0f, -3.0f};

struct CloudPacing {
  bool started = false;
  float sliceStartTime = 0.0f;   // elapsed time at which the current slice began
  float SliceDepth = 0.0f;       // noise depth of the slice being built
  int RowsDone = 0;              // rows of it built so far (0..127)
  int RowsDue = 0;               // rows it should have by this frame
  float CloudCover = 150.0f;     // noise level below which the sky stays clear
  float CoverStep = -4.0f;       // change of CloudCover per slice; flips at the ends
  float CloudSharpness = 0.97f;  // how sharply cloud edges fall off
};

struct CloudStep {
  float FadeFraction;  // weight of the newer slice, 0 in the frame a slice completes
  bool sliceComplete;  // `texels` holds a finished slice to upload
};

// Noise depth of a slice that belongs to the given elapsed time.
float SliceDepthAt(float elapsedSeconds);

// Builds the two start-up slices of the scene's set-up, for the given elapsed time.
// `upload` receives each finished slice in turn (0 = older, 1 = newer).
template <typename Upload>
void BuildStartupSlices(const CloudPacing &pacing, float elapsedSeconds,
                        unsigned char *texels, Upload upload);

// The per-frame step. Rows due are counted from the start of the current
// slice, so fractions of a row carry over from frame to frame at any frame
// rate; a frame late by more than the rest of the slice builds only that rest.
CloudStep AdvanceCloudRows(CloudPacing &pacing, float elapsedSeconds, unsigned char *texels);

// ---------------------------------------------------------------------------

#include "cloud_noise.h"

template <typename Upload>
void BuildStartupSlices(const CloudPacing &pacing, float elapsedSeconds,
                        unsigned char *texels, Upload upload) {
  for (int i = 0; i < 2; ++i) {
    GenerateCloudRows(0, kSliceSize, texels, pacing.CloudCover, pacing.CloudSharpness,
                      SliceDepthAt(elapsedSeconds + kStartupSliceTimes[i]));
    upload(i);
  }
}
