// The virtual remote: RC-5 frames and their timing, what each kind of filter
// is handed, and the player threads' lifetime against the filter table.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "config.h"
#include "filters.h"
#include "sim_loader.h"
#include "virtual_remote.h"

namespace {

using namespace std::chrono_literals;
using qvsim::Filter;
using qvsim::RemoteConfig;
using qvsim::RemoteFrame;
using qvsim::RemoteScript;

qvsim::RemotePress key(uint32_t address, uint32_t command, uint32_t repeats) {
  qvsim::RemotePress p;
  p.address = address;
  p.command = command;
  p.repeats = repeats;
  return p;
}

std::vector<RemoteFrame> framesOf(const RemoteConfig& config, size_t max = 100) {
  RemoteScript script(config);
  std::vector<RemoteFrame> out;
  while (out.size() < max) {
    const auto f = script.next();
    if (!f) break;
    out.push_back(*f);
  }
  return out;
}

TEST(Rc5Word, FieldsSitWhereTheInfraredFramePutsThem) {
  struct Case {
    uint32_t address, command, toggle;
    uint16_t word;
  } cases[] = {
      {5, 0x0C, 1, 0x394C},  // the textbook example: both start bits, toggle, device 5
      {0, 0, 0, 0x3000},    {31, 0x3F, 0, 0x37FF}, {31, 0x3F, 1, 0x3FFF},
      {1, 0, 0, 0x3040},    {0, 1, 0, 0x3001},     {0x20, 0x40, 2, 0x3000},  // masked
  };
  for (const Case& c : cases) {
    EXPECT_EQ(qvsim::rc5Word(c.address, c.command, c.toggle), c.word)
        << c.address << "/" << c.command << "/" << c.toggle;
  }
}

TEST(RemoteScript, TogglesOnEachNewPressAndHoldsItOnRepeats) {
  RemoteConfig c;
  c.keys = {key(5, 0x0C, 2), key(5, 0x0D, 0), key(7, 0x01, 1)};
  c.loop = false;
  c.intervalMs = 900;
  c.repeatIntervalMs = 114;
  const auto frames = framesOf(c);
  ASSERT_EQ(frames.size(), 6u);
  const uint16_t words[] = {0x314C, 0x314C, 0x314C, 0x394D, 0x31C1, 0x31C1};
  const uint32_t pauses[] = {900, 114, 114, 900, 900, 114};
  for (size_t i = 0; i < frames.size(); ++i) {
    EXPECT_EQ(frames[i].word, words[i]) << "frame " << i;
    EXPECT_EQ(frames[i].pauseMs, pauses[i]) << "frame " << i;
  }
  EXPECT_EQ(frames[4].address, 7u);
  EXPECT_EQ(frames[4].command, 1u);
}

TEST(RemoteScript, LoopsFastModeAndPressLimit) {
  RemoteConfig c;
  c.keys = {key(0, 1, 0), key(0, 2, 1)};
  c.fast = true;
  c.presses = 5;  // loops on, so the limit ends it: 1, 2 2, 1, 2 2, 1
  const auto frames = framesOf(c);
  const std::vector<uint16_t> words = {0x3001, 0x3802, 0x3802, 0x3001, 0x3802, 0x3802, 0x3001};
  std::vector<uint16_t> played;
  for (const auto& f : frames) {
    played.push_back(f.word);
    EXPECT_EQ(f.pauseMs, 0u);
  }
  // The toggle goes on flipping when the sequence starts again.
  EXPECT_EQ(played, words);

  c.presses = 0;
  EXPECT_EQ(framesOf(c, 1000).size(), 1000u) << "an endless remote stopped";
  c.keys.clear();
  EXPECT_TRUE(framesOf(c).empty());
}

Filter rcFilter(uint32_t type, uint32_t deviceFilter) {
  Filter f;
  f.kind = qvsim::FilterKind::RemoteControl;
  f.rcType = type;
  f.rcDeviceFilter = deviceFilter;
  return f;
}

TEST(Delivery, RawBytesWordsKeysAndTheDeviceFilter) {
  RemoteFrame frame;
  frame.word = 0x394C;
  frame.address = 5;
  frame.command = 0x0C;
  uint16_t word = 0;

  auto raw = qvsim::deliveryFor(rcFilter(0, 0x0003), frame, 2);  // RAW ignores the filter
  ASSERT_TRUE(raw);
  EXPECT_EQ(raw->countOrKind, 2u);
  EXPECT_EQ(raw->code[0], 0x39);
  EXPECT_EQ(raw->code[1], 0x4C);

  auto asWord = qvsim::deliveryFor(rcFilter(1, 0xFFFF), frame, 2);
  ASSERT_TRUE(asWord);
  EXPECT_EQ(asWord->countOrKind, 2u);
  std::memcpy(&word, asWord->code.data(), sizeof word);
  EXPECT_EQ(word, 0x394C);

  auto asKey = qvsim::deliveryFor(rcFilter(1, 5), frame, 1);
  ASSERT_TRUE(asKey);
  EXPECT_EQ(asKey->countOrKind, 1u);
  EXPECT_EQ(asKey->code[0], 0x0C);

  EXPECT_FALSE(qvsim::deliveryFor(rcFilter(1, 4), frame, 2));
  EXPECT_FALSE(qvsim::deliveryFor(rcFilter(1, 0x0105), frame, 2)) << "only the low bits compared";
  frame.address = 0;
  EXPECT_TRUE(qvsim::deliveryFor(rcFilter(1, 0), frame, 2)) << "address 0 is a real address";
  // A press's own bytes and kind replace the frame's.
  frame.bytes = std::vector<uint8_t>{};
  frame.kind = 3;
  raw = qvsim::deliveryFor(rcFilter(0, 0xFFFF), frame, 2);
  ASSERT_TRUE(raw);
  EXPECT_EQ(raw->countOrKind, 0u);
  EXPECT_GE(raw->code.size(), 4u);
  asWord = qvsim::deliveryFor(rcFilter(1, 0xFFFF), frame, 1);
  ASSERT_TRUE(asWord);
  EXPECT_EQ(asWord->countOrKind, 3u);
  std::memcpy(&word, asWord->code.data(), sizeof word);
  EXPECT_EQ(word, 0x394C);
}

TEST(RemoteScript, AWordGivenAsItIsAlsoDecidesTheAddressFiltered) {
  RemoteConfig c;
  qvsim::RemotePress p;
  p.word = 0x8000;
  qvsim::RemotePress q;
  q.word = 0x07C5;  // address 31, command 5, no start bits
  c.keys = {p, q};
  c.loop = false;
  const auto frames = framesOf(c);
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].word, 0x8000);
  EXPECT_EQ(frames[0].address, 0u);
  EXPECT_EQ(frames[1].word, 0x07C5);
  EXPECT_EQ(frames[1].address, 31u);
  EXPECT_EQ(frames[1].command, 5u);
}

TEST(RemoteConfigJson, ReadsTheRemoteAndRejectsWhatCannotBeSent) {
  const qvsim::Config c = qvsim::parseConfig(
      R"({"remote": {"address": 3, "keys": [7, {"command": "0x3F", "address": 31, "repeats": 2}],
          "interval": 250, "repeat_interval": 0, "fast": true, "loop": false, "kind": 1,
          "presses": 9}})");
  ASSERT_EQ(c.remote.keys.size(), 2u);
  EXPECT_EQ(c.remote.keys[0].address, 3u);
  EXPECT_EQ(c.remote.keys[0].command, 7u);
  EXPECT_EQ(c.remote.keys[1].address, 31u);
  EXPECT_EQ(c.remote.keys[1].command, 63u);
  EXPECT_EQ(c.remote.keys[1].repeats, 2u);
  EXPECT_EQ(c.remote.intervalMs, 250u);
  EXPECT_EQ(c.remote.repeatIntervalMs, 0u);
  EXPECT_TRUE(c.remote.fast);
  EXPECT_FALSE(c.remote.loop);
  EXPECT_EQ(c.remote.kind, 1u);
  EXPECT_EQ(c.remote.presses, 9u);

  const qvsim::Config d = qvsim::parseConfig(R"({"remote": {"address": 9}})");
  ASSERT_FALSE(d.remote.keys.empty());
  for (const auto& k : d.remote.keys) EXPECT_EQ(k.address, 9u);
  EXPECT_TRUE(d.remote.loop);
  EXPECT_EQ(d.remote.kind, 2u);

  for (const char* bad :
       {R"({"remote": []})", R"({"remote": {"keys": []}})", R"({"remote": {"keys": [64]}})",
        R"({"remote": {"address": 32}})", R"({"remote": {"keys": [{"address": 1}]}})",
        R"({"remote": {"kind": 0}})", R"({"remote": {"kind": 3}})", R"({"remote": {"fast": 1}})"}) {
    EXPECT_THROW(qvsim::parseConfig(bad), qvsim::ConfigError) << bad;
  }
}

// Threads: a deck on its own table, recording what its callback receives.
std::mutex gotMutex;
std::vector<uint16_t> got;
void QV_CALLBACK recordWord(const void* code, uint32_t kind) {
  uint16_t w = 0;
  if (kind == 2) std::memcpy(&w, code, sizeof w);
  std::lock_guard lock(gotMutex);
  got.push_back(w);
}

struct DeckFixture : ::testing::Test {
  void SetUp() override {
    std::lock_guard lock(gotMutex);
    got.clear();
  }
  size_t count() {
    std::lock_guard lock(gotMutex);
    return got.size();
  }
  bool waitFor(size_t n) {
    for (int i = 0; i < 2000 && count() < n; ++i) std::this_thread::sleep_for(1ms);
    return count() >= n;
  }
  qvsim::FilterTable table;
  int32_t addFilter() {
    Filter f = rcFilter(1, 0xFFFF);
    f.rcCallback = recordWord;
    return table.add(f);
  }
};

TEST_F(DeckFixture, PlaysInOrderAndStopsForGoodWhenTheFilterGoes) {
  RemoteConfig c;
  c.keys = {key(1, 1, 0), key(1, 2, 0), key(1, 3, 0)};
  c.fast = true;  // endless and as fast as it can
  qvsim::RemoteDeck deck(table, c);
  const int32_t n = addFilter();
  deck.start(n);
  ASSERT_TRUE(waitFor(3000));
  ASSERT_TRUE(table.remove(n));
  const size_t atRemoval = count();
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(count(), atRemoval) << "a code arrived after the filter was removed";
  std::lock_guard lock(gotMutex);
  for (size_t i = 0; i < got.size(); ++i) {
    const uint16_t expected = qvsim::rc5Word(1, 1 + i % 3, i % 2);
    ASSERT_EQ(got[i], expected) << "code " << i << " lost, doubled or out of order";
  }
}

TEST_F(DeckFixture, APacedPlayerEndsAtOnceWhenItsDeviceStops) {
  RemoteConfig c;
  c.keys = {key(0, 1, 0)};
  c.intervalMs = 60000;  // would sleep a minute before its first press
  qvsim::RemoteDeck deck(table, c);
  Filter f = rcFilter(1, 0xFFFF);
  f.deviceId = 4;
  f.rcCallback = recordWord;
  deck.start(table.add(f));
  const auto t0 = std::chrono::steady_clock::now();
  table.removeDevice(4);
  EXPECT_LT(std::chrono::steady_clock::now() - t0, 2s);
  EXPECT_EQ(count(), 0u);
}

std::atomic<qvsim::FilterTable*> selfTable{nullptr};
std::atomic<int32_t> selfNumber{0};
std::atomic<int> selfCalls{0};
void QV_CALLBACK deleteOwnFilter(const void*, uint32_t) {
  ++selfCalls;
  selfTable.load()->remove(selfNumber.load());
}

TEST_F(DeckFixture, ACallbackMayDeleteItsOwnFilter) {
  RemoteConfig c;
  c.keys = {key(0, 1, 0)};
  c.fast = true;
  qvsim::RemoteDeck deck(table, c);
  Filter f = rcFilter(1, 0xFFFF);
  f.rcCallback = deleteOwnFilter;
  selfTable = &table;
  selfCalls = 0;
  selfNumber = table.add(f);
  deck.start(selfNumber);
  for (int i = 0; i < 2000 && selfCalls == 0; ++i) std::this_thread::sleep_for(1ms);
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(selfCalls.load(), 1);
  EXPECT_FALSE(table.find(selfNumber));
  // A later player is started (and the retired thread joined) without trouble.
  const int32_t n = addFilter();
  deck.start(n);
  EXPECT_TRUE(waitFor(10));
}

// Through the library's entry points, with a fast scripted remote.
TEST(VirtualRemoteLibrary, DeliversTheScriptAndNothingAfterDelFilter) {
  simtest::SimLib lib("", std::string(R"({"remote": {"fast": true, "loop": false,
      "keys": [{"address": 5, "command": 12, "repeats": 1}, {"address": 6, "command": 1}]}})"));
  ASSERT_EQ(SIM_FN(lib, StartDVB)(), 1);
  {
    std::lock_guard lock(gotMutex);
    got.clear();
  }
  int32_t all = -1, dev6 = -1;
  ASSERT_EQ(SIM_FN(lib, SetRemoteControl)(1, 0xFFFF, recordWord, &all), 1);
  ASSERT_EQ(SIM_FN(lib, SetRemoteControl)(1, 6, recordWord, &dev6), 1);
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(SIM_FN(lib, DelFilter)(all), 1);
  EXPECT_EQ(SIM_FN(lib, DelFilter)(dev6), 1);
  std::lock_guard lock(gotMutex);
  std::vector<uint16_t> sorted = got;  // two players: their frames interleave
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(sorted, (std::vector<uint16_t>{0x314C, 0x314C, 0x3981, 0x3981}));
}

TEST(VirtualRemoteLibrary, RawFiltersGetTwoBytesAndStopDvbEndsThePlayer) {
  simtest::SimLib lib("", std::string(R"({"remote": {"fast": true, "keys": [{"command": 2}]}})"));
  ASSERT_EQ(SIM_FN(lib, StartDVB)(), 1);
  static std::atomic<int> calls{0};
  static std::atomic<bool> bad{false};
  calls = 0;
  int32_t n = -1;
  ASSERT_EQ(SIM_FN(lib, SetRemoteControl)(
                0, 0xFFFF,
                [](const void* code, uint32_t count) {
                  const auto* b = static_cast<const uint8_t*>(code);
                  if (count != 2 || (b[0] & 0xF7) != 0x30 || b[1] != 0x02) bad = true;
                  ++calls;
                },
                &n),
            1);
  for (int i = 0; i < 2000 && calls < 100; ++i) std::this_thread::sleep_for(1ms);
  ASSERT_EQ(SIM_FN(lib, StopDVB)(), 1);
  const int atStop = calls;
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(calls.load(), atStop);
  EXPECT_FALSE(bad.load());
  EXPECT_EQ(SIM_FN(lib, DelFilter)(n), 0) << "the stopped device took its filter along";
}

}  // namespace
