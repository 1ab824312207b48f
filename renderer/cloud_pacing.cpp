#include "cloud_pacing.h"

#include <cmath>

namespace {
constexpr float kCoverHigh = 170.0f;
constexpr float kCoverLow = 120.0f;
constexpr float kInvSliceRows = 1.0f / 128.0f;
constexpr float kSliceSeconds = 3.0f;
// Time past the end of a slice that counts toward the next one. A normal frame
// overshoots by less than this; anything longer is a stall, after which the
// next slice starts afresh instead of being built in one lump.
constexpr float kMaxCarrySeconds = 0.25f;
}  // namespace

float SliceDepthAt(float elapsedSeconds) { return elapsedSeconds * kSecondsToDepth; }

CloudStep AdvanceCloudRows(CloudPacing &p, float elapsedSeconds, unsigned char *texels) {
  if (!p.started) {
    p.started = true;
    p.sliceStartTime = elapsedSeconds;
    p.SliceDepth = SliceDepthAt(elapsedSeconds);
  }

  const float rows = std::floor((elapsedSeconds - p.sliceStartTime) * kRowsPerSecond);
  int due = rows >= static_cast<float>(kSliceSize) ? kSliceSize : static_cast<int>(rows);
  if (due < p.RowsDone) due = p.RowsDone;  // a clock that stepped back builds nothing
  p.RowsDue = due;

  float fade = static_cast<float>(p.RowsDue) * kInvSliceRows;
  if (fade == 1.0f) fade = 0.0f;

  const bool complete = GenerateCloudRows(p.RowsDone, p.RowsDue, texels, p.CloudCover,
                                          p.CloudSharpness, p.SliceDepth);
  if (complete) {
    p.RowsDone = 0;
    const float nextStart = p.sliceStartTime + kSliceSeconds;
    p.sliceStartTime =
        (elapsedSeconds - nextStart < kMaxCarrySeconds) ? nextStart : elapsedSeconds;
    p.SliceDepth = SliceDepthAt(elapsedSeconds);
    p.CloudCover += p.CoverStep;
    if (p.CloudCover >= kCoverHigh || p.CloudCover <= kCoverLow) p.CoverStep = -p.CoverStep;
  } else {
    p.RowsDone = p.RowsDue;
  }
  return {fade, complete};
}
