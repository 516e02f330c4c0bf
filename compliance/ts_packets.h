// Checks captured buffers as MPEG-TS: whole 188-byte packets, each starting
// with the sync byte, and each PID's continuity counter counting on. The
// counting is the program's own stream-health counter.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "capture/ts_health.h"

namespace compliance {

class TsPacketCheck {
 public:
  // Checks one delivered buffer; the first fault found is kept.
  void Feed(const uint8_t* data, size_t length);
  // Forgets the counters (a new filter starts a new stream); the totals and
  // the first fault stay.
  void Restart();

  // Packets that began with the sync byte, and bytes delivered.
  uint64_t Packets() const { return earlierPackets_ + health_.Totals().packets; }
  uint64_t Bytes() const { return bytes_; }
  // Empty while the stream is sound; otherwise what was wrong, first fault only.
  const std::string& FirstFault() const { return fault_; }
  // Continuity errors seen (a lost or reordered packet), counted apart from
  // framing faults: a library may drop packets under load.
  uint64_t ContinuityErrors() const { return earlierCcErrors_ + health_.Totals().ccErrors; }

 private:
  void Fault(const std::string& what);

  TsHealthCounter health_;
  uint64_t bytes_ = 0, earlierPackets_ = 0, earlierCcErrors_ = 0;
  std::string fault_;
};

}  // namespace compliance
