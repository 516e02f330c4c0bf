// The virtual remote's player threads against the filter table and the
// library's exports. The codes themselves are pinned by the rc_* scenarios,
// which read them through the program.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <vector>

#include "config.h"
#include "filters.h"
#include "sim_loader.h"
#include "virtual_remote.h"

namespace {

using namespace std::chrono_literals;
using qvsim::Filter;
using qvsim::RemoteConfig;

qvsim::RemotePress key(uint32_t address, uint32_t command, uint32_t repeats) {
  qvsim::RemotePress p;
  p.address = address;
  p.command = command;
  p.repeats = repeats;
  return p;
}

Filter rcFilter(uint32_t type, uint32_t deviceFilter) {
  Filter f;
  f.kind = qvsim::FilterKind::RemoteControl;
  f.rcType = type;
  f.rcDeviceFilter = deviceFilter;
  return f;
}

// Threads: a deck on its own table, recording what its callback receives.
std::mutex gotMutex;
std::condition_variable gotMore;
std::vector<uint16_t> got;
std::atomic<bool> removed{false};
std::atomic<int> late{0};
void QV_CALLBACK recordWord(const void* code, uint32_t kind) {
  if (removed) ++late;
  uint16_t w = 0;
  if (kind == 2) std::memcpy(&w, code, sizeof w);
  {
    std::lock_guard lock(gotMutex);
    got.push_back(w);
  }
  gotMore.notify_all();
}
void resetGot() {
  std::lock_guard lock(gotMutex);
  got.clear();
  removed = false;
  late = 0;
}
bool waitFor(size_t n) {
  std::unique_lock lock(gotMutex);
  return gotMore.wait_for(lock, 10s, [&] { return got.size() >= n; });
}

// Guards against codes lost, doubled, reordered or delivered after removal.
TEST(RemoteDeck, PlaysInOrderAndStopsForGoodWhenTheFilterGoes) {
  resetGot();
  qvsim::FilterTable table;
  RemoteConfig c;
  c.keys = {key(1, 1, 0), key(1, 2, 0), key(1, 3, 0)};
  c.fast = true;  // endless and as fast as it can
  qvsim::RemoteDeck deck(table, c);
  Filter f = rcFilter(1, 0xFFFF);
  f.rcCallback = recordWord;
  const int32_t n = table.add(f);
  deck.start(n);
  ASSERT_TRUE(waitFor(3000));
  ASSERT_TRUE(table.remove(n));
  removed = true;
  EXPECT_EQ(late.load(), 0) << "a code arrived after the filter was removed";
  std::lock_guard lock(gotMutex);
  for (size_t i = 0; i < got.size(); ++i) {
    const uint16_t expected = qvsim::rc5Word(1, 1 + i % 3, i % 2);
    ASSERT_EQ(got[i], expected) << "code " << i << " lost, doubled or out of order";
  }
}

// Guards against a paced player sleeping through StopDVB (a hung close).
TEST(RemoteDeck, APacedPlayerEndsAtOnceWhenItsDeviceStops) {
  resetGot();
  qvsim::FilterTable table;
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
  std::lock_guard lock(gotMutex);
  EXPECT_TRUE(got.empty());
}

// Through the library's entry points, with a fast scripted remote.
// Guards against RAW codes not the frame's bytes and players outliving StopDVB.
TEST(VirtualRemoteLibrary, RawFiltersGetTwoBytesAndStopDvbEndsThePlayer) {
  simtest::SimLib lib("", std::string(R"({"remote": {"fast": true, "keys": [{"command": 2}]}})"));
  ASSERT_EQ(SIM_FN(lib, StartDVB)(), 1);
  static std::atomic<int> calls{0};
  static std::atomic<bool> bad{false}, stopped{false};
  calls = 0;
  int32_t n = -1;
  ASSERT_EQ(SIM_FN(lib, SetRemoteControl)(
                0, 0xFFFF,
                [](const void* code, uint32_t count) {
                  const auto* b = static_cast<const uint8_t*>(code);
                  if (count != 2 || (b[0] & 0xF7) != 0x30 || b[1] != 0x02 || stopped) bad = true;
                  if (++calls == 100) {
                    std::lock_guard lock(gotMutex);
                    gotMore.notify_all();
                  }
                },
                &n),
            1);
  {
    std::unique_lock lock(gotMutex);
    ASSERT_TRUE(gotMore.wait_for(lock, 10s, [] { return calls >= 100; }));
  }
  ASSERT_EQ(SIM_FN(lib, StopDVB)(), 1);
  stopped = true;
  EXPECT_FALSE(bad.load());
  EXPECT_EQ(SIM_FN(lib, DelFilter)(n), 0) << "the stopped device took its filter along";
}

}  // namespace
