#include "frame_pacing.h"

namespace {
// The shortest wait worth making; a frame less early than this is on time.
constexpr double kLeastWait = 0.001;
}  // namespace

double FramePeriodFor(int reportedHz) {
  const int hz = reportedHz > 1 ? reportedHz : kFallbackRefreshHz;
  return 1.0 / (hz + 1.0);
}

unsigned FrameWaitMs(const FramePacer &pacer, double now) {
  if (!pacer.started) return 0;
  double rest = pacer.nextFrameTime - now;
  // A clock that stepped back never waits longer than one period.
  if (rest > pacer.period) rest = pacer.period;
  return rest >= kLeastWait ? static_cast<unsigned>(rest * 1000.0) : 0;
}

void FrameStarted(FramePacer &pacer, double now) {
  // Off schedule: the first frame, one late by a whole period or more, or one
  // drawn early because the system asked for a paint.
  const bool offSchedule = !pacer.started || now - pacer.nextFrameTime >= pacer.period ||
                           pacer.nextFrameTime - now >= kLeastWait;
  pacer.started = true;
  pacer.nextFrameTime = offSchedule ? now + pacer.period : pacer.nextFrameTime + pacer.period;
}
