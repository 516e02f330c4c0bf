// The stream damaged on purpose, as configured: what becomes of each packet
// of the multiplex as it leaves the generator, before any PID filter sees it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "config.h"

namespace qvsim {

class StreamDamage {
 public:
  // `bitrate` (bits per second) places the bursts given in stream time.
  StreamDamage(const std::vector<StreamDamageRule>& rules, uint64_t bitrate);

  // Whether any rule may act.
  bool any() const { return !rules_.empty(); }
  // Damages in place the packet at multiplex position `position` (from 0),
  // whose PID is `pid`, and returns how many of its bytes leave the card:
  // the whole packet, its first half (cut) or nothing (lost). Every rule counts
  // the packets of its PID as the carrier brings them, whatever other rules
  // do to them.
  size_t apply(uint64_t position, uint16_t pid, uint8_t* packet);

 private:
  struct Active {
    StreamDamageRule rule;
    uint64_t from = 0;  // burst: first position lost
    uint64_t seen = 0;  // packets of the rule's PID so far
    uint64_t done = 0;  // packets the rule damaged
  };
  std::vector<Active> rules_;
};

}  // namespace qvsim
