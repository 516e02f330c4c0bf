#include "capture/ts_health.h"

#include <algorithm>
#include <cstring>
#include <thread>

namespace {

// The published fields, in the order of TsHealthCounter::shown_.
constexpr uint64_t TsHealthTotals::*kFields[] = {
    &TsHealthTotals::capture,  &TsHealthTotals::buffers,    &TsHealthTotals::bytes,
    &TsHealthTotals::packets,  &TsHealthTotals::syncLosses, &TsHealthTotals::skippedBytes,
    &TsHealthTotals::ccErrors, &TsHealthTotals::teiPackets, &TsHealthTotals::pids};

// A reader that finds the writer between its stores this many times in a row
// lets it run: on a busy machine it may have been preempted there.
constexpr int kSpinsBeforeYield = 64;

}  // namespace

TsHealthTotals TsHealthTotals::Since(const TsHealthTotals& earlier) const {
  if (earlier.capture != capture) return *this;
  TsHealthTotals d = *this;
  for (uint64_t TsHealthTotals::*f : kFields) {
    if (f != &TsHealthTotals::capture && f != &TsHealthTotals::pids) d.*f -= earlier.*f;
  }
  return d;
}

TsHealthCounter::TsHealthCounter() { pids_[kNullPid].state = kNoCounter; }

void TsHealthCounter::Restart() {
  const uint64_t capture = totals_.capture + 1;
  totals_ = TsHealthTotals{};
  totals_.capture = capture;
  firstSyncLoss_.reset();
  searching_ = false;
  pending_ = 0;
  for (PidEntry& e : pids_) {
    e.packets.store(0, std::memory_order_relaxed);
    e.ccErrors.store(0, std::memory_order_relaxed);
    e.state = 0;
  }
  pids_[kNullPid].state = kNoCounter;
  Publish();
}

void TsHealthCounter::SyncLost(const TsSyncLoss& where) {
  if (searching_) return;
  searching_ = true;
  ++totals_.syncLosses;
  if (!firstSyncLoss_) firstSyncLoss_ = where;
}

inline void TsHealthCounter::Packet(const uint8_t* p, Tally& tally) {
  ++tally.packets;
  // A packet whose header the demodulator could not correct is still taken
  // at its word: the flag is counted, and a wrong PID or counter shows as it
  // would in any other packet.
  tally.tei += p[1] >> 7;
  const uint16_t pid = static_cast<uint16_t>(((p[1] & 0x1F) << 8) | p[2]);
  PidEntry& e = pids_[pid];
  const uint64_t seen = e.packets.load(std::memory_order_relaxed);
  e.packets.store(seen + 1, std::memory_order_relaxed);
  tally.pids += seen == 0;

  const uint8_t b3 = p[3];
  const uint8_t cc = b3 & kCcMask;
  const bool payload = (b3 & 0x10) != 0;
  const uint8_t state = e.state;
  e.state = static_cast<uint8_t>((state & kNoCounter) | kSeen | cc | (payload ? kMayRepeat : 0));
  // Nearly every packet is a null packet, which carries no counter, or one
  // with payload that counts on from the last (a discontinuity indicator
  // there changes nothing). One test for both, which the processor predicts
  // however the null packets fall among the others.
  const uint8_t counted = state & (kSeen | kCcMask);
  if (((state & kNoCounter) != 0) | (payload & (counted == (kSeen | ((cc - 1) & kCcMask))))) {
    return;
  }
  const bool discontinuity = (b3 & 0x20) != 0 && p[4] > 0 && (p[5] & 0x80) != 0;
  if ((state & kSeen) == 0 || discontinuity) return;

  const uint8_t last = state & kCcMask;
  bool ok;
  if (!payload) {
    // Only packets with payload advance the counter.
    ok = cc == last;
  } else if (cc == last && (state & kMayRepeat) != 0) {
    // The one duplicate the standard allows; a third copy is an error.
    ok = true;
    e.state = static_cast<uint8_t>(kSeen | cc);
  } else {
    ok = false;
  }
  if (!ok) {
    ++tally.ccErrors;
    const uint32_t errors = e.ccErrors.load(std::memory_order_relaxed);
    if (errors != UINT32_MAX) e.ccErrors.store(errors + 1, std::memory_order_relaxed);
  }
}

void TsHealthCounter::Feed(const uint8_t* data, size_t length) {
  if (data == nullptr) return;
  const uint64_t start = totals_.bytes;
  ++totals_.buffers;
  totals_.bytes += length;
  Tally tally;
  const uint8_t* p = data;
  const uint8_t* const end = data + length;
  if (pending_ > 0) {
    // The rest of a packet begun in the last buffer.
    const size_t take = std::min(kPacketSize - pending_, length);
    std::memcpy(carry_.data() + pending_, p, take);
    pending_ += take;
    p += take;
    if (pending_ == kPacketSize) {
      pending_ = 0;
      Packet(carry_.data(), tally);
    }
  }
  while (p != end && pending_ == 0) {
    if (*p == kSyncByte) {
      searching_ = false;
      while (static_cast<size_t>(end - p) >= kPacketSize && *p == kSyncByte) {
        Packet(p, tally);
        p += kPacketSize;
      }
      if (p == end) break;
      if (*p == kSyncByte) {
        // A packet the next buffer completes.
        pending_ = static_cast<size_t>(end - p);
        std::memcpy(carry_.data(), p, pending_);
        break;
      }
    }
    SyncLost({start + static_cast<uint64_t>(p - data), totals_.packets + tally.packets + 1, *p});
    const void* next = std::memchr(p, kSyncByte, static_cast<size_t>(end - p));
    const uint8_t* found = next != nullptr ? static_cast<const uint8_t*>(next) : end;
    totals_.skippedBytes += static_cast<uint64_t>(found - p);
    p = found;
  }
  totals_.packets += tally.packets;
  totals_.ccErrors += tally.ccErrors;
  totals_.teiPackets += tally.tei;
  totals_.pids += tally.pids;
  Publish();
}

void TsHealthCounter::Publish() {
  // A sequence lock with one writer: odd while the fields change. The release
  // stores keep the odd mark before the fields and the fields before the even
  // mark, for a reader that loads them with acquire.
  static_assert(std::size(kFields) == std::tuple_size_v<decltype(shown_)>);
  const uint64_t s = sequence_.load(std::memory_order_relaxed);
  sequence_.store(s + 1, std::memory_order_relaxed);
  for (size_t i = 0; i < shown_.size(); ++i) {
    shown_[i].store(totals_.*kFields[i], std::memory_order_release);
  }
  sequence_.store(s + 2, std::memory_order_release);
}

TsHealthTotals TsHealthCounter::Snapshot() const {
  TsHealthTotals out;
  for (int tries = 1;; ++tries) {
    const uint64_t before = sequence_.load(std::memory_order_acquire);
    if ((before & 1) == 0) {
      for (size_t i = 0; i < shown_.size(); ++i) {
        out.*kFields[i] = shown_[i].load(std::memory_order_acquire);
      }
      if (sequence_.load(std::memory_order_relaxed) == before) return out;
    }
    if (tries % kSpinsBeforeYield == 0) std::this_thread::yield();
  }
}

uint64_t TsHealthCounter::PidPackets(uint16_t pid) const {
  return pid < kPidCount ? pids_[pid].packets.load(std::memory_order_relaxed) : 0;
}

uint64_t TsHealthCounter::PidCcErrors(uint16_t pid) const {
  return pid < kPidCount ? pids_[pid].ccErrors.load(std::memory_order_relaxed) : 0;
}
