// The signal model: what the tuner reports for its current tuning. For now
// there is nothing in the sky, so every device reports no signal.
#pragma once

#include <cstdint>

#include "devices.h"

namespace qvsim {

struct SignalReport {
  int32_t present = 0;
  int32_t lock = 0;
  int32_t levelPercent = 0;
  int32_t qualityPercent = 0;
  float snrDb = 0.0f;
  float ber = 1.0f;          // nothing decoded: every bit may be wrong
  int32_t rfLevelDbm = -100;  // noise floor
};

SignalReport measureSignal(const DeviceState& device);

}  // namespace qvsim
