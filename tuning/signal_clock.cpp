#include "tuning/signal_clock.h"

#include <algorithm>

int64_t SampleClock::Stamp(int64_t wallMs, int64_t steadyMs) {
  if (!anchored_) {
    const int64_t counted = last_ + std::max<int64_t>(steadyMs - lastSteady_, 0);
    wallAnchor_ = stamped_ ? std::max(wallMs, counted) : wallMs;
    steadyAnchor_ = steadyMs;
    anchored_ = true;
  }
  // A monotonic clock never goes back; the guard keeps the order if a caller's does.
  int64_t stamp = wallAnchor_ + std::max<int64_t>(steadyMs - steadyAnchor_, 0);
  if (stamped_) stamp = std::max(stamp, last_);
  stamped_ = true;
  last_ = stamp;
  lastSteady_ = steadyMs;
  return stamp;
}
