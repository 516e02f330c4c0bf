// The filter table under concurrent delivery: removing a filter waits for its
// running callbacks, a callback may remove its own filter, numbers stay unique.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <set>
#include <thread>

#include "filters.h"

namespace {

using namespace std::chrono_literals;
using qvsim::Filter;
using qvsim::FilterTable;

Filter tsFilter(uint32_t device) {
  Filter f;
  f.deviceId = device;
  return f;
}

// Guards against removal returning while the filter's callback still runs.
TEST(FilterTable, RemovalWaitsForTheRunningCallback) {
  for (bool byDevice : {false, true}) {
    FilterTable table;
    const int32_t n = table.add(tsFilter(1));
    const int32_t other = table.add(tsFilter(2));
    std::promise<void> entered, release;
    auto releaseFuture = release.get_future().share();
    std::thread delivery([&] {
      table.deliver(n, [&](const Filter&) {
        entered.set_value();
        releaseFuture.wait();
      });
    });
    entered.get_future().wait();
    auto removal = std::async(std::launch::async, [&] {
      if (byDevice) table.removeDevice(1);
      return byDevice || table.remove(n);
    });
    EXPECT_EQ(removal.wait_for(100ms), std::future_status::timeout)
        << "removal returned while the callback was still running";
    release.set_value();
    EXPECT_TRUE(removal.get());
    delivery.join();
    EXPECT_FALSE(table.deliver(n, [](const Filter&) { ADD_FAILURE() << "ran after removal"; }));
    EXPECT_FALSE(table.remove(n));
    EXPECT_TRUE(table.find(other).has_value()) << byDevice;
  }
}

// Guards against a self-deadlock when a callback deletes its own filter.
TEST(FilterTable, CallbackMayRemoveItsOwnFilter) {
  FilterTable table;
  const int32_t n = table.add(tsFilter(1));
  bool removed = false;
  std::thread delivery(
      [&] { table.deliver(n, [&](const Filter& f) { removed = table.remove(f.number); }); });
  delivery.join();  // hangs (and times out) if remove waited for itself
  EXPECT_TRUE(removed);
}

// Guards against a racy number counter handing one number out twice.
TEST(FilterTable, NumbersUniqueAcrossThreads) {
  FilterTable table;
  constexpr int kPerThread = 2000;
  std::vector<int32_t> got[4];
  std::vector<std::thread> threads;
  for (auto& out : got) {
    threads.emplace_back([&table, &out] {
      for (int i = 0; i < kPerThread; ++i) {
        const int32_t n = table.add(tsFilter(1));
        out.push_back(n);
        if (i % 2) {
          EXPECT_TRUE(table.remove(n));
        }
      }
    });
  }
  for (auto& t : threads) t.join();
  std::set<int32_t> all;
  for (const auto& v : got) all.insert(v.begin(), v.end());
  EXPECT_EQ(all.size(), 4u * kPerThread);
  EXPECT_EQ(*all.begin(), 1);
  EXPECT_EQ(*all.rbegin(), 4 * kPerThread);
  EXPECT_EQ(table.numbers().size(), 2u * kPerThread);
}

}  // namespace
