// The times the signal history stamps its samples with.
#pragma once

#include <cstdint>

// Stamps samples with wall time that never runs backwards: each series takes
// the wall clock once, at its first sample, and counts on from there with the
// monotonic clock, so setting the system clock (by hand, or a time service's
// step) cannot reorder the history. A step forward shows from the next series
// on; a step back is not followed: a new series then counts on from the last
// stamp with the monotonic time in between.
class SampleClock {
 public:
  // The stamp of a sample taken when the wall clock reads `wallMs` (since
  // 1970) and the monotonic clock `steadyMs`.
  int64_t Stamp(int64_t wallMs, int64_t steadyMs);
  // The next sample starts a series: it reads the wall clock again.
  void StartSeries() { anchored_ = false; }

 private:
  bool anchored_ = false;
  int64_t wallAnchor_ = 0, steadyAnchor_ = 0;
  bool stamped_ = false;
  int64_t last_ = 0, lastSteady_ = 0;
};
