// The stream-health counter against the rules of MPEG-TS: continuity per
// PID, sync loss and resync, packets split across buffers; and the
// compliance checker's packet checks that use it.
#include "capture/ts_health.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "compliance/ts_packets.h"

namespace {

// A stream written as tokens: "PID:CC" is a packet with payload, followed by
// a (adaptation field only), d (discontinuity indicator), t (transport error
// indicator), r (reserved control 00), /N (only its first N bytes); "~N" is
// N bytes of junk.
std::vector<uint8_t> Stream(const std::string& layout) {
  std::vector<uint8_t> out;
  std::istringstream in(layout);
  for (std::string t; in >> t;) {
    size_t at = 0, keep = 188;
    if (t[0] == '~') {
      out.insert(out.end(), std::stoul(t.substr(1)), 0x00);
      continue;
    }
    const unsigned pid = std::stoul(t, &at);
    const std::string rest = t.substr(at + 1);
    const uint8_t cc = static_cast<uint8_t>(std::stoul(rest, &at));
    std::array<uint8_t, 188> p;
    p.fill(0xFF);  // never a sync byte
    p[0] = 0x47, p[1] = static_cast<uint8_t>(pid >> 8), p[2] = static_cast<uint8_t>(pid);
    p[3] = 0x10 | cc;
    for (; at < rest.size(); ++at) {
      if (rest[at] == 'a') p[3] = 0x20 | cc, p[4] = 183, p[5] = 0;
      if (rest[at] == 'd') p[3] = 0x30 | cc, p[4] = 1, p[5] = 0x80;
      if (rest[at] == 't') p[1] |= 0x80;
      if (rest[at] == 'r') p[3] = cc;
      if (rest[at] == '/') keep = std::stoul(rest.substr(at + 1)), at = rest.size();
    }
    out.insert(out.end(), p.begin(), p.begin() + static_cast<long>(keep));
  }
  return out;
}

// packets, cc errors, sync losses, skipped bytes, TEI packets, PIDs, pending bytes
using Counts = std::array<uint64_t, 7>;

void ExpectCounted(const TsHealthCounter& h, size_t size, const Counts& want) {
  const TsHealthTotals t = h.Snapshot();
  EXPECT_EQ(t, h.Totals());
  EXPECT_EQ(t.bytes, size);
  EXPECT_EQ((Counts{t.packets, t.ccErrors, t.syncLosses, t.skippedBytes, t.teiPackets, t.pids,
                    h.PendingBytes()}),
            want);
  uint64_t packets = 0, errors = 0;
  for (uint16_t pid = 0; pid < TsHealthCounter::kPidCount; ++pid) {
    packets += h.PidPackets(pid), errors += h.PidCcErrors(pid);
  }
  EXPECT_EQ(packets, t.packets);
  EXPECT_EQ(errors, t.ccErrors);
}

// Guards each rule, and counts that depend on where the buffers end: each
// stream in two buffers split at every byte, and byte by byte.
TEST(TsHealth, CountsEachRuleTheSameHoweverTheBuffersFall) {
  static TsHealthCounter h;
  const struct {
    const char* stream;
    Counts want;
  } cases[] = {
      {"100:14 100:15 100:0 100:1", {4, 0, 0, 0, 0, 1, 0}},         // wrap
      {"100:0 100:1 100:3", {3, 1, 0, 0, 0, 1, 0}},                 // lost packet
      {"100:15 100:15 100:0", {3, 0, 0, 0, 0, 1, 0}},               // one duplicate
      {"100:0 100:1 100:1 100:1 100:2", {5, 1, 0, 0, 0, 1, 0}},     // a third copy
      {"100:4a 100:5 100:5a 100:5a 100:6", {5, 0, 0, 0, 0, 1, 0}},  // no payload, no count
      {"100:5 100:6a 100:7", {3, 1, 0, 0, 0, 1, 0}},                // ... counting on anyway
      {"100:5 100:5a 100:5", {3, 1, 0, 0, 0, 1, 0}},                // no duplicate across it
      {"100:4 100:4r 100:5", {3, 0, 0, 0, 0, 1, 0}},                // reserved control 00
      {"8191:0 8191:0 8191:0 8191:9", {4, 0, 0, 0, 0, 1, 0}},       // null PID
      {"100:3 100:9d 100:10 100:0", {4, 1, 0, 0, 0, 1, 0}},         // discontinuity indicator
      {"100:0 200:5 100:2 200:6 8191:1 200:8", {6, 2, 0, 0, 0, 3, 0}},
      {"100:0 100:1t 100:2t", {3, 0, 0, 0, 2, 1, 0}},  // TEI: the header taken at its word
      {"~5 100:0 100:1", {2, 0, 1, 5, 0, 1, 0}},
      {"100:0 ~200 100:1 ~1 100:2", {3, 0, 2, 201, 0, 1, 0}},
      {"100:0 100:1/94 100:2 100:3", {3, 1, 1, 94, 0, 1, 0}},  // a cut packet takes 100:2's header
      {"100:0 100:1/100", {1, 0, 0, 0, 0, 1, 100}},
      {"~400", {0, 0, 1, 400, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    const std::vector<uint8_t> s = Stream(c.stream);
    for (size_t split = 0; split <= s.size() && !HasFailure(); ++split) {
      SCOPED_TRACE(std::string(c.stream) + " split at " + std::to_string(split));
      h.Restart();
      h.Feed(s.data(), split);
      h.Feed(s.data() + split, s.size() - split);
      ExpectCounted(h, s.size(), c.want);
    }
    SCOPED_TRACE(std::string(c.stream) + " byte by byte");
    h.Restart();
    for (const uint8_t& b : s) h.Feed(&b, 1);
    ExpectCounted(h, s.size(), c.want);
  }
}

// Guards against totals carried into the next capture, or an interval that
// spans two captures.
TEST(TsHealth, RestartIsANewCaptureAndIntervalsStayInOne) {
  static TsHealthCounter h;
  const std::vector<uint8_t> first = Stream("100:0 100:2 ~3 100:3/50");
  h.Feed(first.data(), first.size());
  const TsHealthTotals before = h.Snapshot();
  EXPECT_EQ(h.FirstSyncLoss()->offset, 376u);
  EXPECT_EQ(h.FirstSyncLoss()->packet, 3u);
  h.Restart();
  EXPECT_EQ(h.Snapshot(), (TsHealthTotals{before.capture + 1}));
  EXPECT_FALSE(h.FirstSyncLoss());
  // The held-back half packet is gone and PID 100's counter forgotten.
  const std::vector<uint8_t> next = Stream("100:9 100:10 100:11");
  h.Feed(next.data(), 188);
  const TsHealthTotals mid = h.Snapshot();
  h.Feed(next.data() + 188, 376);
  const TsHealthTotals now = h.Snapshot();
  EXPECT_EQ(now.Since(before), now) << "across a restart: the whole new capture";
  EXPECT_EQ(now.Since(mid), (TsHealthTotals{now.capture, 1, 376, 2, 0, 0, 0, 0, 1}));
}

// Guards against a torn snapshot (fields from two buffers) read while the
// capture callback publishes (label threads).
TEST(TsHealthThreads, SnapshotsAreWholeWhileTheWriterRuns) {
  static TsHealthCounter h;
  // Each buffer after the first breaks both counters once.
  const std::vector<uint8_t> buffer = Stream("100:0 100:1 200:0 100:2 8191:0 100:3 200:1");
  constexpr uint64_t kBuffers = 20000;
  std::thread writer([&] {
    for (uint64_t i = 0; i < kBuffers; ++i) h.Feed(buffer.data(), buffer.size());
  });
  for (TsHealthTotals last; last.buffers < kBuffers;) {
    const TsHealthTotals t = h.Snapshot();
    ASSERT_GE(t.buffers, last.buffers);
    ASSERT_EQ(t.bytes, t.buffers * buffer.size());
    ASSERT_EQ(t.packets, t.buffers * 7);
    ASSERT_EQ(t.ccErrors, t.buffers == 0 ? 0 : (t.buffers - 1) * 2);
    last = t;
  }
  writer.join();
}

// Guards the compliance checker's texts, which its users compare, its packet
// numbers, and a buffer's broken tail kept apart from the next buffer
// ("restart": the next filter's stream).
TEST(TsPacketCheck, FirstFaultAndContinuity) {
  const struct {
    std::vector<const char*> buffers;
    const char* fault;
    uint64_t ccErrors;
  } cases[] = {
      {{"100:0 100:1", "restart", "100:9"}, "", 0},
      {{"100:0/100", "100:1/100"}, "a buffer of 100 bytes, not whole 188-byte packets", 0},
      {{"100:0 100:1/100", "100:2"}, "a buffer of 288 bytes, not whole 188-byte packets", 1},
      {{"100:0 100:1", "~188 100:2"}, "packet 3 starts with 0, not the sync byte 71 (0x47)", 0},
      {{"100:0 100:1", "restart", "100:7 ~188"},
       "packet 4 starts with 0, not the sync byte 71 (0x47)",
       0},
      {{"100:0 100:2", "restart", "100:0 100:2"}, "", 2},
  };
  for (const auto& c : cases) {
    const auto check = std::make_unique<compliance::TsPacketCheck>();
    for (const std::string buffer : c.buffers) {
      const std::vector<uint8_t> b = Stream(buffer == "restart" ? "" : buffer);
      buffer == "restart" ? check->Restart() : check->Feed(b.data(), b.size());
    }
    EXPECT_EQ(check->FirstFault(), c.fault) << c.buffers.back();
    EXPECT_EQ(check->ContinuityErrors(), c.ccErrors) << c.buffers.back();
  }
}

}  // namespace
