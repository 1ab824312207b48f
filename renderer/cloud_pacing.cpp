#include "cloud_pacing.h"

#include <cmath>

namespace {
constexpr float kCoverHigh = 170.0f;
constexpr float kCoverLow = 120.0f;
constexpr float kInvSliceRows = 1.0f / 128.0f;
// Time past the end of a slice that counts toward the next one. A normal frame
// overshoots by less than this; anything longer is a stall, after which the
// next slice starts afresh instead of being built in one lump.
constexpr double kMaxCarrySeconds = 0.25;
// The noise's period along the depth, in elapsed seconds, and the time from
// which the depth is folded back by whole periods (128 of them, about 8 h).
constexpr double kDepthPeriodSeconds = 32.0 * 7.0;
constexpr double kFoldFrom = 128.0 * kDepthPeriodSeconds;

void StepCoverOnce(CloudPacing &p) {
  p.CloudCover += p.CoverStep;
  if (p.CloudCover >= kCoverHigh || p.CloudCover <= kCoverLow) p.CoverStep = -p.CoverStep;
}
}  // namespace

float SliceDepthAt(double elapsedSeconds) {
  if (elapsedSeconds >= kFoldFrom)
    elapsedSeconds = kFoldFrom + std::fmod(elapsedSeconds - kFoldFrom, kDepthPeriodSeconds);
  return static_cast<float>(elapsedSeconds) * kSecondsToDepth;
}

void StepCover(CloudPacing &p, long long slices) {
  const float cover = p.CloudCover, step = p.CoverStep;
  for (long long k = 0; k < slices; ++k) {
    StepCoverOnce(p);
    // Back where it started after k + 1 steps: whole laps change nothing.
    if (p.CloudCover == cover && p.CoverStep == step) slices = k + 1 + (slices - k - 1) % (k + 1);
  }
}

CloudStep AdvanceCloudRows(CloudPacing &p, double elapsedSeconds, unsigned char *texels) {
  if (!p.started) {
    p.started = true;
    p.sliceStartTime = elapsedSeconds;
    p.SliceDepth = SliceDepthAt(elapsedSeconds);
  }

  const double rows = std::floor((elapsedSeconds - p.sliceStartTime) * kRowsPerSecond);
  int due = rows >= kSliceSize ? kSliceSize : static_cast<int>(rows);
  if (due < p.RowsDone) due = p.RowsDone;  // a clock that stepped back builds nothing
  p.RowsDue = due;

  float fade = static_cast<float>(p.RowsDue) * kInvSliceRows;
  if (fade == 1.0f) fade = 0.0f;

  const bool complete = GenerateCloudRows(p.RowsDone, p.RowsDue, texels, p.CloudCover,
                                          p.CloudSharpness, p.SliceDepth);
  if (complete) {
    p.RowsDone = 0;
    const double nextStart = p.sliceStartTime + kSliceSeconds;
    p.sliceStartTime = (elapsedSeconds - nextStart < kMaxCarrySeconds) ? nextStart : elapsedSeconds;
    p.SliceDepth = SliceDepthAt(elapsedSeconds);
    StepCoverOnce(p);
  } else {
    p.RowsDone = p.RowsDue;
  }
  return {fade, complete};
}
