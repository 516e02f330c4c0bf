// The health of a transport stream as a card delivers it, buffer by buffer:
// packets, bytes, sync losses and the bytes skipped to find sync again,
// continuity-counter errors per PID (ISO/IEC 13818-1), transport-error
// packets and the PIDs seen. The capture callback feeds it on the library's
// thread while the user-interface thread reads the totals at any moment, so
// the totals are published once per buffer and read without a lock.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>

// What was counted since the counter's last restart, as published after a
// buffer. Every field counts up within one capture.
struct TsHealthTotals {
  uint64_t capture = 0;       // restarts before this capture: tells captures apart
  uint64_t buffers = 0;       // buffers handed over
  uint64_t bytes = 0;         // bytes handed over, skipped ones included
  uint64_t packets = 0;       // whole packets that began with the sync byte
  uint64_t syncLosses = 0;    // times no sync byte stood where a packet had to begin
  uint64_t skippedBytes = 0;  // bytes passed over to find the sync byte again
  uint64_t ccErrors = 0;      // continuity-counter errors, all PIDs
  uint64_t teiPackets = 0;    // packets with the transport_error_indicator set
  uint64_t pids = 0;          // distinct PIDs seen, the null PID included

  // The figures of the interval from `earlier` to these: each the difference,
  // or all of these when `earlier` belongs to another capture. `capture` and
  // `pids` stay as they are here (a count of PIDs has no difference).
  TsHealthTotals Since(const TsHealthTotals& earlier) const;
  bool operator==(const TsHealthTotals&) const = default;
};

// The first sync loss of a capture: where the next packet was due.
struct TsSyncLoss {
  uint64_t offset = 0;  // byte offset from the capture's first byte
  uint64_t packet = 0;  // the number the packet due there would have had, from 1
  uint8_t found = 0;    // the byte that stood there instead of 0x47
};

// One stream's counter. Feed calls must not overlap; consecutive ones may come
// from different threads when the caller orders them (a library's delivery
// thread, or each call under the caller's own lock). Reading the totals and
// the per-PID figures is safe from any thread at any time. About 130 KiB:
// keep it in a long-lived object, not on a thread's stack.
class TsHealthCounter {
 public:
  static constexpr size_t kPacketSize = 188;
  static constexpr uint8_t kSyncByte = 0x47;
  static constexpr uint16_t kPidCount = 8192;
  static constexpr uint16_t kNullPid = 0x1FFF;

  TsHealthCounter();
  TsHealthCounter(const TsHealthCounter&) = delete;
  TsHealthCounter& operator=(const TsHealthCounter&) = delete;

  // Counts one delivered buffer and publishes the totals: no allocation, no
  // lock, no system call. A packet cut by the buffer's end is kept (at most
  // 187 bytes) and joined with the start of the next buffer. A null buffer
  // counts nothing.
  void Feed(const uint8_t* data, size_t length);
  // A new capture: totals, PIDs and continuity start over, a packet begun in
  // the last buffer is dropped, the next byte must be a sync byte, and
  // `capture` counts up. Only while no Feed runs (before the filter exists,
  // or after its deletion returned); readers may go on reading meanwhile.
  void Restart();

  // Any thread, lock-free: the totals as published after the latest buffer,
  // all from the same buffer.
  TsHealthTotals Snapshot() const;
  // Any thread: packets and continuity errors of one PID in this capture;
  // each figure is exact, several together need not be from one buffer.
  uint64_t PidPackets(uint16_t pid) const;
  uint64_t PidCcErrors(uint16_t pid) const;

  // Feeding thread, or once feeding has stopped: the totals being counted
  // (without the cost of a snapshot), the first sync loss of this capture,
  // and the bytes of a packet still waiting for the rest of it.
  const TsHealthTotals& Totals() const { return totals_; }
  const std::optional<TsSyncLoss>& FirstSyncLoss() const { return firstSyncLoss_; }
  size_t PendingBytes() const { return pending_; }

 private:
  // Per-PID continuity state: the last counter, whether a packet was seen,
  // whether the last one may still be followed by its one duplicate, and
  // whether the PID carries no counter at all (the null PID).
  static constexpr uint8_t kCcMask = 0x0F, kSeen = 0x10, kMayRepeat = 0x20, kNoCounter = 0x40;
  struct PidEntry {
    std::atomic<uint64_t> packets{0};
    std::atomic<uint32_t> ccErrors{0};
    uint8_t state = 0;
  };
  // What one Feed call counts, added to the totals once at its end.
  struct Tally {
    uint64_t packets = 0, ccErrors = 0, tei = 0, pids = 0;
  };

  void Packet(const uint8_t* p, Tally& tally);
  void SyncLost(const TsSyncLoss& where);
  void Publish();

  TsHealthTotals totals_;
  std::optional<TsSyncLoss> firstSyncLoss_;
  // True while bytes are being passed over: one sync loss however long it
  // lasts, across buffers too.
  bool searching_ = false;
  size_t pending_ = 0;
  std::array<uint8_t, kPacketSize> carry_{};
  std::array<PidEntry, kPidCount> pids_;
  // Published totals: odd `sequence_` while the writer is between stores.
  std::atomic<uint64_t> sequence_{0};
  std::array<std::atomic<uint64_t>, 9> shown_{};
};
