#include "ts_damage.h"

#include "ts_delivery.h"
#include "ts_generator.h"

namespace qvsim {

StreamDamage::StreamDamage(const std::vector<StreamDamageRule>& rules, uint64_t bitrate) {
  for (const StreamDamageRule& r : rules) {
    Active a{r};
    if (r.kind == StreamDamageRule::Kind::Burst) {
      // Packet n leaves the multiplexer at n * 188 * 8 / bitrate seconds; the
      // burst begins with the first one due at or after the given time.
      constexpr uint64_t kBitsMs = kTsPacketSize * 8 * 1000;
      a.from = r.afterMs ? (*r.afterMs * bitrate + kBitsMs - 1) / kBitsMs : r.afterPacket;
    }
    rules_.push_back(a);
  }
}

size_t StreamDamage::apply(uint64_t position, uint16_t pid, uint8_t* packet) {
  size_t kept = kTsPacketSize;
  bool tei = false;
  for (Active& a : rules_) {
    const StreamDamageRule& r = a.rule;
    if (r.kind == StreamDamageRule::Kind::Burst) {
      if (position >= a.from && position - a.from < r.packets) kept = 0;
      continue;
    }
    if (r.pid != kWholeStreamPid && r.pid != pid) continue;
    ++a.seen;
    if (a.seen % r.every != 0 || (r.count != 0 && a.done == r.count)) continue;
    ++a.done;
    if (r.kind == StreamDamageRule::Kind::Drop) kept = 0;
    if (r.kind == StreamDamageRule::Kind::Cut && kept != 0) kept = kTsPacketSize / 2;
    if (r.kind == StreamDamageRule::Kind::Tei) tei = true;
  }
  if (tei) packet[1] ^= 0x80;
  return kept;
}

}  // namespace qvsim
