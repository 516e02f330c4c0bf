// The signal model: what the tuner receives for its current tuning, and the
// figures the signal entry points report. A satellite tune goes through the
// LNB arithmetic (the band the switch frequency chooses, the intermediate
// frequency, the LNB's real oscillator) to a frequency in the sky; a
// terrestrial tune is taken by frequency alone.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "config.h"
#include "devices.h"
#include "link_budget.h"
#include "signal_figures.h"
#include "sky.h"
#include "world.h"

namespace qvsim {

// How a satellite tune drives the LNB.
struct LnbDrive {
  bool highBand = false;  // 22 kHz tone on
  uint32_t voltage = 0;   // 13 (V/R) or 18 (H/L)
  int64_t ifKHz = 0;      // what the tuner tunes to
};
LnbDrive lnbDriveFor(const TuneRequest& tune);

// What the tuner finds: nothing, a carrier it cannot lock, or a locked one.
struct Reception {
  bool present = false;
  bool lock = false;
  const Transponder* transponder = nullptr;  // satellite carrier found
  const GroundChannel* ground = nullptr;     // terrestrial carrier found
  LinkFigures link{-100.0, 0.0};
  double requiredSnrDb = 0.0;
  uint32_t modulation = 0;
};
Reception receive(const DeviceState& device, const Station& station = Station{});

// What a transport stream source needs to know about the locked carrier.
struct LockedCarrier {
  uint64_t usefulBitrate = 0;  // bits per second of transport stream
  bool multistream = false;
  std::vector<uint8_t> streamIds;   // multistream: the ids carried
  std::optional<uint8_t> streamId;  // multistream: the stream delivered
  std::vector<Service> services;    // of the stream delivered
};
std::optional<LockedCarrier> lockedCarrier(const DeviceState& device);

// Noise in [-1, 1], a pure function of seed, measurement number and channel.
double noiseSample(uint32_t seed, uint64_t measurement, uint32_t channel);

}  // namespace qvsim
