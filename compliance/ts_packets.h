// Checks captured buffers as MPEG-TS: whole 188-byte packets, each starting
// with the sync byte, and each PID's continuity counter counting on.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace compliance {

class TsPacketCheck {
 public:
  // Checks one delivered buffer; the first fault found is kept.
  void Feed(const uint8_t* data, size_t length);
  // Forgets the counters (a new filter starts a new stream).
  void Restart() { last_.fill(kNone); }

  uint64_t Packets() const { return packets_; }
  uint64_t Bytes() const { return bytes_; }
  // Empty while the stream is sound; otherwise what was wrong, first fault only.
  const std::string& FirstFault() const { return fault_; }
  // Continuity errors seen (a lost or reordered packet), counted apart from
  // framing faults: a library may drop packets under load.
  uint64_t ContinuityErrors() const { return ccErrors_; }

 private:
  static constexpr uint8_t kNone = 0xFF;
  void Fault(const std::string& what);

  std::array<uint8_t, 8192> last_ = MakeNone();
  static std::array<uint8_t, 8192> MakeNone() {
    std::array<uint8_t, 8192> a{};
    a.fill(kNone);
    return a;
  }
  uint64_t packets_ = 0, bytes_ = 0, ccErrors_ = 0;
  std::string fault_;
};

}  // namespace compliance
