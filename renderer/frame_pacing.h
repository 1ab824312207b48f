// When the next frame may start. Where the swap waits for the display's
// retrace it sets the beat by itself; where it returns at once (no swap
// control, a driver that ignores it, a virtual display) the loop waits out the
// rest of the frame period here instead of drawing frames no screen shows.
// Time is passed in, in seconds; the waiting itself belongs to the window glue.
#pragma once

constexpr int kFallbackRefreshHz = 60;  // where the display reports 0 or 1 Hz

// Shortest time between frame starts on a display that reports `reportedHz`.
// The report is in whole hertz and often rounded down (59.94 Hz reads 59), so
// the ceiling sits one hertz above it: where the swap does wait, the retrace
// always comes first and this ceiling never holds a frame back past it.
double FramePeriodFor(int reportedHz);

struct FramePacer {
  double period = 0.0;          // from FramePeriodFor
  double nextFrameTime = 0.0;   // earliest start of the next frame
  bool started = false;         // no frame yet: the first one starts at once
};

// Whole milliseconds to wait at `now` before the next frame; 0 means draw it
// now. Less than a millisecond is not worth a wait: the frame starts a little
// early and the next one keeps to the schedule.
unsigned FrameWaitMs(const FramePacer &pacer, double now);

// Notes a frame starting at `now`. Frames keep to a fixed schedule, so a wait
// that ends late is made up by the next frame and the rate holds on average.
// Lateness is kept up to a quarter of a second: spells of frames slower than
// the period are made up by faster ones, while a longer stall does not bring
// a long burst of catching up. A frame
// drawn early (a paint the system asked for) starts the schedule afresh, so
// the next frame is never more than a period away.
void FrameStarted(FramePacer &pacer, double now);

// After a rest: the next frame starts at once and the schedule from it, with
// no lateness carried over.
void RestartPacing(FramePacer &pacer);
