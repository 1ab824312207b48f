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

// The first frame after the renderer rested (nobody saw the sky meanwhile)
// jumps to the present, as if it had drawn all along: the slices that would
// have completed are counted on the 3-s beat from the one in progress, and
// only the last two of them, the two the sky shows now, are built (the one
// in progress keeps its depth and its rows so far; the others get the depth
// and cover they would have had). Each finished slice is handed to
// `completed` in turn; the slice due now then starts on the beat. Returns
// true when it jumped; a rest shorter than the rest of the slice needs no
// jump, since rows are counted from the slice's start anyway.
template <typename Completed>
bool CatchUpClouds(CloudPacing &pacing, double elapsedSeconds, unsigned char *texels, Completed completed);

// The per-frame step. Rows due are counted from the start of the current
// slice, so fractions of a row carry over from frame to frame at any frame
// rate; a frame late by more than the rest of the slice (a stall, a very slow
// machine) builds only that rest: the slice completes at once, the textures
// rotate and the fade starts again at 0, whatever the length of the gap.
CloudStep AdvanceCloudRows(CloudPacing &pacing, double elapsedSeconds, unsigned char *texels);

// One frame of the scene: after a rest the jump to the present, then the
// rows due. `completed` is called for each slice finished in `texels`: it
// becomes the newer slice, and the newer one the older. Returns the newer
// slice's weight.
template <typename Completed>
float StepClouds(CloudPacing &pacing, double elapsedSeconds, bool afterRest, unsigned char *texels,
                 Completed completed);

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

template <typename Completed>
bool CatchUpClouds(CloudPacing &p, double elapsedSeconds, unsigned char *texels, Completed completed) {
  if (!p.started) return false;
  // Slices that would have completed: the one in progress, then one every 3 s.
  const double missed = (elapsedSeconds - p.sliceStartTime) / kSliceSeconds;
  if (!(missed >= 1.0)) return false;
  const auto slices = static_cast<long long>(missed);
  // The sky shows slices slices-2 (older) and slices-1 (newer), counted from
  // the one in progress, slice 0; with one slice missed the older one is
  // the newer one of now.
  const long long first = slices > 2 ? slices - 2 : 0;
  StepCover(p, first);
  for (long long k = first; k < slices; ++k) {
    if (k == 0) {
      GenerateCloudRows(p.RowsDone, kSliceSize, texels, p.CloudCover, p.CloudSharpness, p.SliceDepth);
    } else {
      GenerateCloudRows(0, kSliceSize, texels, p.CloudCover, p.CloudSharpness,
                        SliceDepthAt(p.sliceStartTime + kSliceSeconds * static_cast<double>(k)));
    }
    completed();
    StepCover(p, 1);
  }
  p.sliceStartTime += kSliceSeconds * static_cast<double>(slices);
  p.SliceDepth = SliceDepthAt(p.sliceStartTime);
  p.RowsDone = 0;
  p.RowsDue = 0;
  return true;
}

template <typename Completed>
float StepClouds(CloudPacing &p, double elapsedSeconds, bool afterRest, unsigned char *texels,
                 Completed completed) {
  if (afterRest) CatchUpClouds(p, elapsedSeconds, texels, completed);
  const CloudStep step = AdvanceCloudRows(p, elapsedSeconds, texels);
  if (step.sliceComplete) completed();
  return step.FadeFraction;
}
