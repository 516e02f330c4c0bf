// The virtual card's transport stream: it is sound MPEG-TS that the program
// can record, and it reaches each filter by PID, whole packets only, never
// after the filter is gone (label threads).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <ostream>
#include <set>

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

struct StreamCase {
  const char* what;
  uint64_t bitrate;
  std::vector<Service> services;
};
void PrintTo(const StreamCase& c, std::ostream* os) { *os << c.what; }

class TsStreamContent : public ::testing::TestWithParam<StreamCase> {};

// Guards against a stream a recorder rejects (CC, CRC, PMT, PCR gap, SDT).
TEST_P(TsStreamContent, IsAValidMultiplex) {
  const StreamCase& c = GetParam();
  TsGenerator g(planFor(Carrier(c.bitrate, c.services)));
  const size_t packets = static_cast<size_t>(3 * c.bitrate / (kTsPacketSize * 8));
  std::vector<uint8_t> ts(packets * kTsPacketSize);
  for (size_t i = 0; i < packets; ++i) g.next(ts.data() + i * kTsPacketSize);
  TsCheckReport r = CheckTransportStream(ts.data(), ts.size());
  EXPECT_TRUE(r.problems.empty()) << r.problems.front();
  EXPECT_EQ(r.pmtPids.size(), c.services.size());
  EXPECT_EQ(r.pcrPidOf.size(), c.services.size());
  EXPECT_LE(r.maxPcrGapSeconds, 0.04);
  std::set<std::string> names;
  for (const Service& s : c.services) names.insert(s.name);
  EXPECT_EQ(std::set<std::string>(r.serviceNames.begin(), r.serviceNames.end()), names);
  EXPECT_GE(r.perPid[kPatPid], 29u) << "PAT ten times a second";
}

INSTANTIATE_TEST_SUITE_P(
    Carriers, TsStreamContent,
    ::testing::Values(
        StreamCase{"ThreeServicesS2",
                   61000000,
                   {{1101, "Virtual One HD"}, {1102, "Virtual Two HD"}, {1103, "Virtual Kids HD"}}},
        StreamCase{"OneServiceSlow", 2000000, {{1401, "Virtual Shopping"}}}),
    [](const auto& info) { return std::string(info.param.what); });

// What one filter's callback received; callbacks carry no context, so each
// sink has its own instantiation of Record.
struct Sink {
  std::mutex m;
  std::condition_variable cv;
  std::vector<uint8_t> bytes;
  std::vector<uint32_t> lengths;
  std::atomic<bool> removed{false};
  std::atomic<int> late{0};
  bool WaitFor(size_t n) {
    std::unique_lock lock(m);
    return cv.wait_for(lock, std::chrono::seconds(10), [&] { return bytes.size() >= n; });
  }
};
Sink g_sinks[5];

template <int N>
void QV_CALLBACK Record(const uint8_t* data, uint32_t length) {
  Sink& s = g_sinks[N];
  if (s.removed) ++s.late;
  {
    std::lock_guard lock(s.m);
    s.bytes.insert(s.bytes.end(), data, data + length);
    s.lengths.push_back(length);
  }
  s.cv.notify_all();
}

// Guards against a wrong PID match, cut packets and delivery after removal.
TEST(Delivery, EachPidGetsOnlyItsPacketsAndTheWholeStreamGetsAll) {
  FilterTable table;
  StreamDeck deck(table, StreamConfig{true, 0, 0, {}}, 1, [](uint32_t) {
    return std::optional<LockedCarrier>(
        Carrier(40000000, {{1101, "Virtual One HD"}, {1102, "Virtual Two HD"}}));
  });
  const struct {
    uint32_t pid;
    QvTsDataCallback cb;
    size_t wait;  // bytes to wait for; 0: expect none
  } cases[] = {{8192, Record<0>, 3000 * kTsPacketSize},
               {0, Record<1>, kTsPacketSize},
               {0x101, Record<2>, kTsPacketSize},
               {0x1FFF, Record<3>, kTsPacketSize},
               {0x0555, Record<4>, 0}};
  std::vector<int32_t> numbers;
  for (const auto& c : cases) {
    Filter f;
    f.pid = c.pid;
    f.tsCallback = c.cb;
    numbers.push_back(table.add(f));
    deck.start(numbers.back());
  }
  for (size_t i = 0; i < std::size(cases); ++i) {
    if (cases[i].wait) {
      EXPECT_TRUE(g_sinks[i].WaitFor(cases[i].wait)) << cases[i].pid;
    }
  }
  for (size_t i = 0; i < std::size(cases); ++i) {
    ASSERT_TRUE(table.remove(numbers[i]));
    g_sinks[i].removed = true;
  }
  deck.reap();
  EXPECT_EQ(deck.threads(), 0u);
  for (size_t i = 0; i < std::size(cases); ++i) {
    Sink& s = g_sinks[i];
    std::lock_guard lock(s.m);
    const uint32_t pid = cases[i].pid;
    for (uint32_t l : s.lengths) EXPECT_EQ(l % kTsPacketSize, 0u) << pid;
    const TsCheckReport r = CheckTransportStream(
        s.bytes.data(), s.bytes.size(),
        pid == 8192 ? std::nullopt : std::optional<uint16_t>(static_cast<uint16_t>(pid)));
    EXPECT_TRUE(r.problems.empty()) << "PID " << pid << ": " << r.problems.front();
    EXPECT_EQ(r.packets > 0, cases[i].wait > 0) << "PID " << pid;
    EXPECT_EQ(s.late.load(), 0) << "PID " << pid << " delivered after its removal";
  }
}

// Guards against a deadlock when a callback deletes its own filter.
TEST(Delivery, ACallbackDeletingItsOwnFilterEndsItsThread) {
  static FilterTable table;
  static std::atomic<int> calls;
  static std::atomic<int32_t> number;
  static std::mutex m;
  static std::condition_variable removed;
  calls = 0;
  StreamDeck deck(table, StreamConfig{true, 7, 0, {}}, 1, [](uint32_t) {
    return std::optional<LockedCarrier>(Carrier(10000000, {{1, "A"}}));
  });
  Filter f;
  f.pid = 8192;
  f.tsCallback = [](const uint8_t*, uint32_t) {
    if (++calls == 3) {
      table.remove(number);
      std::lock_guard lock(m);
      removed.notify_all();
    }
  };
  number = table.add(f);
  deck.start(number);
  {
    std::unique_lock lock(m);
    ASSERT_TRUE(removed.wait_for(lock, std::chrono::seconds(10), [] { return calls >= 3; }));
  }
  deck.reap();  // joins the thread once its callback has returned
  EXPECT_EQ(calls.load(), 3);
  EXPECT_EQ(deck.threads(), 0u);
}

}  // namespace
