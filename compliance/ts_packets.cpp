#include "compliance/ts_packets.h"

namespace compliance {

namespace {
constexpr size_t kPacket = 188;
constexpr uint8_t kSync = 0x47;
constexpr uint16_t kNullPid = 0x1FFF;
}  // namespace

void TsPacketCheck::Fault(const std::string& what) {
  if (fault_.empty()) fault_ = what;
}

void TsPacketCheck::Feed(const uint8_t* data, size_t length) {
  bytes_ += length;
  if (length % kPacket != 0) {
    Fault("a buffer of " + std::to_string(length) + " bytes, not whole 188-byte packets");
  }
  for (size_t at = 0; at + kPacket <= length; at += kPacket) {
    const uint8_t* p = data + at;
    ++packets_;
    if (p[0] != kSync) {
      Fault("packet " + std::to_string(packets_) + " starts with " + std::to_string(p[0]) +
            ", not the sync byte 71 (0x47)");
      continue;
    }
    const uint16_t pid = static_cast<uint16_t>(((p[1] & 0x1F) << 8) | p[2]);
    const uint8_t control = (p[3] >> 4) & 0x3;
    const uint8_t cc = p[3] & 0x0F;
    // Null packets carry no counter; a discontinuity flag restarts it.
    if (pid == kNullPid) continue;
    const bool discontinuity = (control & 0x2) != 0 && p[4] > 0 && (p[5] & 0x80) != 0;
    const uint8_t last = last_[pid];
    last_[pid] = cc;
    if (last == kNone || discontinuity) continue;
    const bool payload = (control & 0x1) != 0;
    // Without payload the counter stays; with payload it counts on, and one
    // duplicate packet (the same counter again) is allowed.
    const bool ok = payload ? (cc == ((last + 1) & 0x0F) || cc == last) : cc == last;
    if (!ok) ++ccErrors_;
  }
}

}  // namespace compliance
