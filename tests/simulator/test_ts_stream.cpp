// The virtual card's transport stream: its content checked packet by packet,
// and its delivery to filters by PID, lock and pace (label threads).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "filters.h"
#include "ts_check.h"
#include "ts_delivery.h"
#include "ts_generator.h"

using namespace qvsim;

namespace {

LockedCarrier Carrier(uint64_t bitrate, std::vector<Service> services) {
  LockedCarrier c;
  c.usefulBitrate = bitrate;
  c.services = std::move(services);
  return c;
}

std::vector<uint8_t> Generate(TsGenerator& g, size_t packets) {
  std::vector<uint8_t> out(packets * kTsPacketSize);
  for (size_t i = 0; i < packets; ++i) g.next(out.data() + i * kTsPacketSize);
  return out;
}

TEST(TsStream, Crc32IsTheMpeg2One) {
  const char* check = "123456789";
  EXPECT_EQ(crc32Mpeg2(reinterpret_cast<const uint8_t*>(check), 9), 0x0376E6E7u);
}

struct StreamCase {
  const char* what;
  uint64_t bitrate;
  std::vector<Service> services;
};

class TsStreamContent : public ::testing::TestWithParam<StreamCase> {};

// Three seconds of stream: sound packets, every table with a right CRC, every
// program's PCR at most 40 ms apart, null packets filling the rest.
TEST_P(TsStreamContent, IsAValidMultiplexAtItsBitrate) {
  const StreamCase& c = GetParam();
  TsGenerator g(planFor(Carrier(c.bitrate, c.services)));
  const size_t packets = static_cast<size_t>(3 * c.bitrate / (kTsPacketSize * 8));
  const std::vector<uint8_t> ts = Generate(g, packets);
  TsCheckReport r = CheckTransportStream(ts.data(), ts.size());
  EXPECT_TRUE(r.problems.empty()) << r.problems.front();
  EXPECT_EQ(r.pmtPids.size(), c.services.size());
  ASSERT_EQ(r.pcrPidOf.size(), c.services.size());
  for (const Service& s : c.services) {
    ASSERT_TRUE(r.pcrPidOf.count(s.serviceId)) << s.serviceId;
    const uint16_t pcrPid = r.pcrPidOf.at(s.serviceId);
    EXPECT_GE(r.pcrCount[pcrPid], 3 / 0.04) << "PCRs on PID " << pcrPid;
  }
  EXPECT_LE(r.maxPcrGapSeconds, 0.04);
  std::vector<std::string> names;
  for (const Service& s : c.services) names.push_back(s.name);
  EXPECT_EQ(std::set<std::string>(r.serviceNames.begin(), r.serviceNames.end()),
            std::set<std::string>(names.begin(), names.end()));
  // PAT ten times a second, SDT twice.
  EXPECT_GE(r.perPid[kPatPid], 29u);
  EXPECT_GE(r.perPid[kSdtPid], 5u);
  const double nullShare = static_cast<double>(r.perPid[kNullPid]) / static_cast<double>(packets);
  EXPECT_GT(nullShare, 0.05);
  EXPECT_LT(nullShare, 0.3);
}

INSTANTIATE_TEST_SUITE_P(
    Carriers, TsStreamContent,
    ::testing::Values(
        StreamCase{"ThreeServicesS2",
                   61000000,
                   {{1101, "Virtual One HD"}, {1102, "Virtual Two HD"}, {1103, "Virtual Kids HD"}}},
        StreamCase{"OneServiceSlow", 2000000, {{1401, "Virtual Shopping"}}},
        StreamCase{"FourServicesT",
                   24000000,
                   {{5201, "Virtual One"},
                    {5202, "Virtual Two"},
                    {5203, "Virtual Three"},
                    {5204, "Virtual Kids"}}}),
    [](const auto& info) { return std::string(info.param.what); });

// The PCR tells the time at which its packet leaves: its distance in 27 MHz
// ticks matches the bytes in between at the bitrate, also past the point
// where a naive bytes*8*27e6 would overflow 64 bits.
TEST(TsStream, PcrFollowsTheBitrateFarIntoTheStream) {
  const uint64_t bitrate = 50000000;
  TsGenerator g(planFor(Carrier(bitrate, {{1, "A"}})));
  std::vector<uint8_t> p(kTsPacketSize);
  auto pcrOf = [&](uint64_t* at) {
    for (;;) {
      *at = g.position();
      if (g.next(p.data()) != kNullPid && (p[3] & 0x20) && (p[5] & 0x10)) {
        const uint64_t base = (uint64_t{p[6]} << 25) | (uint64_t{p[7]} << 17) |
                              (uint64_t{p[8]} << 9) | (uint64_t{p[9]} << 1) | (p[10] >> 7);
        return base * 300 + (((p[10] & 1u) << 8) | p[11]);
      }
    }
  };
  uint64_t a = 0, b = 0;
  const uint64_t first = pcrOf(&a);
  const uint64_t second = pcrOf(&b);
  const double expected = static_cast<double>((b - a) * kTsPacketSize * 8) / bitrate * 27e6;
  EXPECT_NEAR(static_cast<double>(second - first), expected, 2.0);
}

TEST(TsStream, BufferSizesStayWithinADriversRange) {
  BufferSizes varying(0, 42);
  std::set<uint32_t> seen;
  for (int i = 0; i < 2000; ++i) {
    const uint32_t n = varying.next();
    ASSERT_GE(n, 7u);
    ASSERT_LE(n, 512u);
    seen.insert(n);
  }
  EXPECT_GT(seen.size(), 200u) << "sizes hardly vary";
  EXPECT_TRUE(seen.count(7) || seen.count(512) || seen.size() > 400);
  BufferSizes fixed(7, 42);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(fixed.next(), 7u);
}

// Delivery through a filter table, with a carrier the test switches on and off.
struct Delivery : ::testing::Test {
  FilterTable table;
  std::mutex mu;
  std::optional<LockedCarrier> carrier =
      Carrier(40000000, {{1101, "Virtual One HD"}, {1102, "Virtual Two HD"}});

  static std::mutex gMu;
  static std::vector<uint8_t> gBytes;
  static std::vector<uint32_t> gLengths;
  static std::atomic<bool> gRemoved;
  static std::atomic<int> gLate;
  static void QV_CALLBACK Record(const uint8_t* data, uint32_t length) {
    if (gRemoved) ++gLate;
    std::lock_guard lock(gMu);
    gBytes.insert(gBytes.end(), data, data + length);
    gLengths.push_back(length);
  }
  void SetUp() override {
    std::lock_guard lock(gMu);
    gBytes.clear();
    gLengths.clear();
    gRemoved = false;
    gLate = 0;
  }
  StreamDeck::CarrierSource Source() {
    return [this](uint32_t) {
      std::lock_guard lock(mu);
      return carrier;
    };
  }
  int32_t Add(uint32_t pid) {
    Filter f;
    f.pid = pid;
    f.tsCallback = Record;
    return table.add(f);
  }
  void Remove(StreamDeck& deck, int32_t n) {
    ASSERT_TRUE(table.remove(n));
    gRemoved = true;
    deck.reap();
  }
  TsCheckReport Received(std::optional<uint16_t> pid) {
    std::lock_guard lock(gMu);
    for (uint32_t l : gLengths) EXPECT_EQ(l % kTsPacketSize, 0u);
    return CheckTransportStream(gBytes.data(), gBytes.size(), pid);
  }
};
std::mutex Delivery::gMu;
std::vector<uint8_t> Delivery::gBytes;
std::vector<uint32_t> Delivery::gLengths;
std::atomic<bool> Delivery::gRemoved;
std::atomic<int> Delivery::gLate;

struct PidCase {
  uint32_t pid;
  bool expectData;
};

TEST_F(Delivery, EachPidGetsOnlyItsPacketsAndTheWholeStreamGetsAll) {
  const PidCase cases[] = {{8192, true}, {0, true}, {0x101, true}, {0x1FFF, true}, {0x0555, false}};
  for (const PidCase& c : cases) {
    SetUp();
    StreamDeck deck(table, StreamConfig{true, 0}, 1, Source());
    const int32_t n = Add(c.pid);
    deck.start(n);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    Remove(deck, n);
    EXPECT_EQ(deck.threads(), 0u);
    const std::optional<uint16_t> only =
        c.pid == 8192 ? std::nullopt : std::optional<uint16_t>(static_cast<uint16_t>(c.pid));
    const TsCheckReport r = Received(only);
    EXPECT_TRUE(r.problems.empty()) << "PID " << c.pid << ": " << r.problems.front();
    EXPECT_EQ(r.packets > 0, c.expectData) << "PID " << c.pid;
    if (c.pid == 8192) {
      EXPECT_GT(r.perPid.size(), 5u);
      EXPECT_GT(r.sectionsChecked, 0u);
    }
    EXPECT_EQ(gLate.load(), 0) << "delivery after the filter was removed";
  }
}

TEST_F(Delivery, NoLockNoDataAndTheStreamReturnsWithTheLock) {
  StreamDeck deck(table, StreamConfig{true, 7}, 1, Source());
  {
    std::lock_guard lock(mu);
    carrier.reset();
  }
  const int32_t n = Add(8192);
  deck.start(n);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(Received(std::nullopt).packets, 0u);
  {
    std::lock_guard lock(mu);
    carrier = Carrier(10000000, {{1, "Back"}});
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  Remove(deck, n);
  const TsCheckReport r = Received(std::nullopt);
  EXPECT_GT(r.packets, 0u);
  EXPECT_TRUE(r.problems.empty());
  for (uint32_t l : gLengths) EXPECT_EQ(l, 7 * kTsPacketSize);
}

TEST_F(Delivery, RealTimeDeliveryKeepsTheCarriersBitrate) {
  StreamDeck deck(table, StreamConfig{false, 0}, 1, Source());
  const int32_t n = Add(8192);
  const auto start = std::chrono::steady_clock::now();
  deck.start(n);
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  Remove(deck, n);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double bits = static_cast<double>(Received(std::nullopt).packets * kTsPacketSize * 8);
  // Buffers of up to 512 packets take up to 19 ms each at 40 Mbit/s.
  EXPECT_LT(bits / seconds, 40e6 * 1.1);
  EXPECT_GT(bits / seconds, 40e6 * 0.7);
}

// A callback may delete its own filter; the thread ends after it returns and
// the deck's destructor joins what is left.
TEST_F(Delivery, ACallbackDeletingItsOwnFilterEndsItsThread) {
  static FilterTable* table;
  static StreamDeck* deck;
  static std::atomic<int> calls;
  static std::atomic<int32_t> number;
  table = &this->table;
  calls = 0;
  StreamDeck d(this->table, StreamConfig{true, 7}, 1, Source());
  deck = &d;
  Filter f;
  f.pid = 8192;
  f.tsCallback = [](const uint8_t*, uint32_t) {
    if (++calls == 3) {
      table->remove(number);
      deck->reap();
    }
  };
  number = this->table.add(f);
  d.start(number);
  for (int i = 0; i < 200 && table->find(number); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(calls.load(), 3);
  d.reap();
  EXPECT_EQ(d.threads(), 0u);
}

}  // namespace
