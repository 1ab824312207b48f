// Pacing of the cloud slices: while two finished slices cross-fade, the next
// one is built row by row, 128 rows every 3 seconds of elapsed time, spread
// over the frames. The GL side only uploads and rotates textures when a slice
// completes; everything else happens here, with the time passed in.
#pragma once

constexpr float kRowsPerSecond = 128.0f / 3.0f;  // 42.666668
constexpr float kSecondsToDepth = 1.0f / 7.0f;   // noise depth per second
constexpr float kStartupSliceTimes[2] = {-6.0f, -3.0f};
constexpr double kSliceSeconds = 3.0;

// Times are elapsed seconds in double precision, kept exact for years; what
// the noise and the GL side are given is small again (SliceDepthAt).
struct CloudPacing {
  bool started = false;
  double sliceStartTime = 0.0;  // elapsed time at which the current slice began
  double lastFrameTime = 0.0;   // of the frame before, to see a gap
  float SliceDepth = 0.0f;      // noise depth of the slice being built
  int RowsDone = 0;             // rows of it built so far (0..127)
  int RowsDue = 0;              // rows it should have by this frame
  float CloudCover = 150.0f;    // noise level below which the sky stays clear
  float CoverStep = -4.0f;      // change of CloudCover per slice; flips at the ends
  float CloudSharpness = 0.97f; // how sharply cloud edges fall off
};

struct CloudStep {
  float FadeFraction;  // weight of the newer slice, 0 in the frame a slice completes
  bool sliceComplete;  // `texels` holds a finished slice to upload
};

// Noise depth of a slice that belongs to the given elapsed time. The noise
// repeats every 32 units of depth (224 s): after the first eight hours the
// time is folded back by whole periods, so the depth keeps the resolution it
// had then instead of losing it as the run goes on for days.
float SliceDepthAt(double elapsedSeconds);

// Builds the two start-up slices of the scene's set-up, for the given elapsed time.
// `upload` receives each finished slice in turn (0 = older, 1 = newer).
template <typename Upload>
void BuildStartupSlices(const CloudPacing &pacing, double elapsedSeconds,
                        unsigned char *texels, Upload upload);

// After a gap in the frames (the renderer rested, or stalled) in which two
// or more slices would have completed, jumps to the present as if it had
// drawn all along: builds the two slices the sky shows now, with the depths
// and cover they would have had, hands them to `upload` (0 = older, 1 =
// newer) and starts the slice due now. The missed slices are not built.
// Returns true when it jumped; a shorter gap is left to AdvanceCloudRows.
template <typename Upload>
bool CatchUpClouds(CloudPacing &pacing, double elapsedSeconds, unsigned char *texels, Upload upload);

// The per-frame step. Rows due are counted from the start of the current
// slice, so fractions of a row carry over from frame to frame at any frame
// rate; a frame late by more than the rest of the slice builds only that rest.
CloudStep AdvanceCloudRows(CloudPacing &pacing, double elapsedSeconds, unsigned char *texels);

// The cover after `slices` more slices have completed. The walk between its
// ends repeats, so even a gap of years takes at most one lap.
void StepCover(CloudPacing &pacing, long long slices);

// ---------------------------------------------------------------------------

#include "cloud_noise.h"

template <typename Upload>
void BuildStartupSlices(const CloudPacing &pacing, double elapsedSeconds,
                        unsigned char *texels, Upload upload) {
  for (int i = 0; i < 2; ++i) {
    GenerateCloudRows(0, kSliceSize, texels, pacing.CloudCover, pacing.CloudSharpness,
                      SliceDepthAt(elapsedSeconds + kStartupSliceTimes[i]));
    upload(i);
  }
}

template <typename Upload>
bool CatchUpClouds(CloudPacing &p, double elapsedSeconds, unsigned char *texels, Upload upload) {
  if (!p.started || !(elapsedSeconds - p.lastFrameTime > kSliceSeconds)) return false;
  // Slices that would have completed: the one in progress, then one every 3 s.
  const double missed = (elapsedSeconds - p.sliceStartTime) / kSliceSeconds;
  if (!(missed >= 2.0)) return false;
  const auto slices = static_cast<long long>(missed);
  // The sky shows slices slices-2 (older) and slices-1 (newer), counted from
  // the one in progress, which is slice 0 and keeps the depth it began with.
  const double olderStart = p.sliceStartTime + kSliceSeconds * static_cast<double>(slices - 2);
  StepCover(p, slices - 2);
  GenerateCloudRows(0, kSliceSize, texels, p.CloudCover, p.CloudSharpness,
                    slices == 2 ? p.SliceDepth : SliceDepthAt(olderStart));
  upload(0);
  StepCover(p, 1);
  GenerateCloudRows(0, kSliceSize, texels, p.CloudCover, p.CloudSharpness,
                    SliceDepthAt(olderStart + kSliceSeconds));
  upload(1);
  StepCover(p, 1);
  p.sliceStartTime = olderStart + 2.0 * kSliceSeconds;
  p.SliceDepth = SliceDepthAt(p.sliceStartTime);
  p.RowsDone = 0;
  p.RowsDue = 0;
  p.lastFrameTime = elapsedSeconds;
  return true;
}
