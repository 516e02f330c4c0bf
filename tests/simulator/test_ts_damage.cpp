// The virtual card's stream damaged on purpose, counted by the program's
// stream-health counter: each mode gives the counts its configuration
// predicts (label threads), and the configuration refuses what would
// silently damage nothing.
#include <gtest/gtest.h>

#include <condition_variable>
#include <map>
#include <mutex>

#include "capture/ts_health.h"
#include "config.h"
#include "filters.h"
#include "ts_delivery.h"
#include "ts_generator.h"

using namespace qvsim;

namespace {

using Kind = StreamDamageRule::Kind;
constexpr uint64_t kBitrate = 40000000;
constexpr uint16_t kVideo = 0x101;

LockedCarrier OneService() {
  LockedCarrier c;
  c.usefulBitrate = kBitrate;
  c.services = {{1101, "Virtual One HD"}};
  return c;
}

std::mutex g_m;
std::condition_variable g_cv;
TsHealthCounter g_health;

void QV_CALLBACK Count(const uint8_t* data, uint32_t length) {
  std::lock_guard lock(g_m);
  g_health.Feed(data, length);
  g_cv.notify_all();
}

// Delivers `buffers` buffers of `packets` packets of `pid` into g_health.
void Deliver(uint32_t pid, uint32_t buffers, uint32_t packets,
             std::vector<StreamDamageRule> rules) {
  g_health.Restart();
  FilterTable table;
  StreamDeck deck(
      table,
      StreamConfig{
          .fast = true, .packets = packets, .buffers = buffers, .damage = std::move(rules)},
      1, [](uint32_t) { return std::optional<LockedCarrier>(OneService()); });
  Filter f;
  f.pid = pid;
  f.tsCallback = Count;
  const int32_t number = table.add(f);
  deck.start(number);
  {
    std::unique_lock lock(g_m);
    ASSERT_TRUE(g_cv.wait_for(lock, std::chrono::seconds(20),
                              [&] { return g_health.Totals().buffers == buffers; }));
  }
  table.remove(number);
  deck.reap();
}

StreamDamageRule Every(Kind kind, uint32_t pid, uint64_t every, uint64_t count = 0) {
  StreamDamageRule r;
  r.kind = kind, r.pid = pid, r.every = every, r.count = count;
  return r;
}

// Guards against a damage mode that misses its packets or hurts others: 20
// buffers of 7 video packets (140 leave the card), the nth being the nth
// video packet of the multiplex unless a drop went before.
TEST(Delivery, EachDamageModeCountsAsConfigured) {
  const struct {
    std::vector<StreamDamageRule> rules;
    // packets, cc errors, sync losses, skipped bytes, TEI packets, pending bytes
    std::array<uint64_t, 6> want;
  } cases[] = {
      {{}, {140, 0, 0, 0, 0, 0}},
      {{Every(Kind::Drop, 0x555, 1)}, {140, 0, 0, 0, 0, 0}},
      // Nine of each ten arrive: 15 gaps before the 140th packet.
      {{Every(Kind::Drop, kVideo, 10)}, {140, 15, 0, 0, 0, 0}},
      {{Every(Kind::Drop, kVideo, 10, 3)}, {140, 3, 0, 0, 0, 0}},
      {{Every(Kind::Tei, kVideo, 5)}, {140, 0, 0, 0, 28, 0}},
      // 14 cut, each joined with the next packet's first half, whose second
      // half is skipped; the 140th waits for the rest.
      {{Every(Kind::Cut, kVideo, 10)}, {126, 13, 13, 1222, 0, 94}},
      // Rules count the packets the carrier brings, lost or not.
      {{Every(Kind::Drop, kVideo, 10), Every(Kind::Tei, kVideo, 10)}, {140, 15, 0, 0, 0, 0}},
      {{Every(Kind::Tei, 8192, 1)}, {140, 0, 0, 0, 140, 0}},
  };
  for (const auto& c : cases) {
    Deliver(kVideo, 20, 7, c.rules);
    const TsHealthTotals t = g_health.Totals();
    EXPECT_EQ((std::array<uint64_t, 6>{t.packets, t.ccErrors, t.syncLosses, t.skippedBytes,
                                       t.teiPackets, g_health.PendingBytes()}),
              c.want)
        << "case " << &c - cases;
    EXPECT_EQ(t.pids, 1u);
  }
}

// Guards against a burst placed wrongly in the multiplex, in packets or in
// stream time, by generating the same multiplex again: each PID keeps the
// packets outside the burst, and one that lost some (not a multiple of 16)
// shows one continuity error.
TEST(Delivery, BurstLosesWhatTheMultiplexCarriedThere) {
  const struct {
    StreamDamageRule rule;
    uint64_t from;  // first position lost
  } cases[] = {{{Kind::Burst, 0, 0, 0, 40, 1000, std::nullopt}, 1000},
               // 25 ms at 40 Mbit/s: 664.89 packet times; packet 664 is
               // video, 704 a null packet, so a packet early or late shows.
               {{Kind::Burst, 0, 0, 0, 40, 0, 25}, 665}};
  for (const auto& c : cases) {
    Deliver(8192, 10, 512, {c.rule});
    TsGenerator g(planFor(OneService()));
    std::map<uint16_t, uint64_t> lost, kept;
    std::array<uint8_t, kTsPacketSize> p;
    for (uint64_t n = 0; n < 10 * 512 + 40; ++n) {
      const uint16_t pid = g.next(p.data());
      ++(n >= c.from && n - c.from < 40 ? lost : kept)[pid];
    }
    uint64_t errors = 0;
    for (const auto& [pid, n] : kept) EXPECT_EQ(g_health.PidPackets(pid), n) << "PID " << pid;
    for (const auto& [pid, n] : lost) {
      const bool gap = pid != kNullPid && n % 16 != 0;
      EXPECT_EQ(g_health.PidCcErrors(pid), gap ? 1u : 0u) << "PID " << pid;
      errors += gap;
    }
    EXPECT_GT(errors, 0u) << "a burst that hides in the null packets tests nothing";
    EXPECT_EQ(g_health.Totals().ccErrors, errors);
    EXPECT_EQ(g_health.Totals().syncLosses, 0u);
  }
}

// Guards against a misspelt rule read as no damage at all.
TEST(TsStreamDamageConfig, RulesAndRefusals) {
  const Config c = parseConfig(R"({"stream": {"damage": {"drop": {"pid": "0x101", "every": 10},
      "burst": [{"packets": 5, "after_ms": 2000}, {"packets": 1, "after_packet": 7}]}}})");
  ASSERT_EQ(c.stream.damage.size(), 3u);
  EXPECT_EQ(c.stream.damage[0].afterMs, 2000u);
  EXPECT_EQ(c.stream.damage[1].afterPacket, 7u);
  EXPECT_EQ(c.stream.damage[2].pid, 0x101u);
  for (const char* bad :
       {R"("dorp": {"pid": 1, "every": 2})", R"("drop": {"pid": 1})",
        R"("tei": {"pid": 1, "every": 0})", R"("cut": {"pid": 8193, "every": 1})",
        R"("drop": {"pid": 1, "every": 2, "evry": 3})", R"("burst": {"packets": 5})",
        R"("burst": {"packets": 5, "after_ms": 1, "after_packet": 1})"}) {
    EXPECT_THROW(parseConfig(std::string(R"({"stream": {"damage": {)") + bad + "}}}"), ConfigError)
        << bad;
  }
}

}  // namespace
