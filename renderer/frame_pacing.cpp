#include "frame_pacing.h"

namespace {
// The shortest wait worth making; a frame less early than this is on time.
constexpr double kLeastWait = 0.001;
// Lateness the schedule keeps, in seconds: spells of frames slower than the
// period are made up by the faster spells that follow, and a longer stall is
// forgiven beyond this, rather than followed by a long burst of catching up.
constexpr double kKeptLateness = 0.25;
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
  // The first frame, or one drawn early because the system asked for a paint:
  // the schedule starts from it.
  if (!pacer.started || pacer.nextFrameTime - now >= kLeastWait) {
    pacer.started = true;
    pacer.nextFrameTime = now + pacer.period;
    return;
  }
  // On time or late: a slow frame lets the next ones start sooner, so that
  // no frame the loop could draw below the paced rate is lost to a wait.
  pacer.nextFrameTime += pacer.period;
  const double earliest = now - kKeptLateness;
  if (pacer.nextFrameTime < earliest) pacer.nextFrameTime = earliest;
}

void RestartPacing(FramePacer &pacer) { pacer.started = false; }
