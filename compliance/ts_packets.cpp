#include "compliance/ts_packets.h"

namespace compliance {

namespace {
constexpr size_t kPacket = TsHealthCounter::kPacketSize;
}  // namespace

void TsPacketCheck::Fault(const std::string& what) {
  if (fault_.empty()) fault_ = what;
}

void TsPacketCheck::Restart() {
  earlierPackets_ += health_.Totals().packets;
  earlierCcErrors_ += health_.Totals().ccErrors;
  health_.Restart();
}

void TsPacketCheck::Feed(const uint8_t* data, size_t length) {
  bytes_ += length;
  if (length % kPacket != 0) {
    Fault("a buffer of " + std::to_string(length) + " bytes, not whole 188-byte packets");
  }
  // The contract wants every buffer to begin and end on a packet boundary, so
  // a buffer's broken tail is not joined with the next buffer: what follows
  // is checked as packets of its own.
  health_.Feed(data, length - length % kPacket);
  if (const std::optional<TsSyncLoss>& loss = health_.FirstSyncLoss()) {
    Fault("packet " + std::to_string(earlierPackets_ + loss->packet) + " starts with " +
          std::to_string(loss->found) + ", not the sync byte 71 (0x47)");
  }
}

}  // namespace compliance
