// The contract on 32-bit Windows: quorvex.dll exports plain names with the C
// calling convention, and calls the program back with the Windows callback
// convention (the callee removes its arguments). A mix-up does not fail a
// call: it moves the stack pointer of the calling thread by the size of the
// arguments each time, so it shows after enough calls.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "platform/win32_undef.h"
// clang-format off
#include "platform/library.h"
// clang-format on
#include "quorvex_api.h"

namespace {

#ifndef _WIN64
// The callback types must carry the callee-pops convention; cdecl here would
// be a silent mismatch with any vendor's library.
using StdcallTsData = void(__attribute__((stdcall)) *)(const uint8_t*, uint32_t);
using StdcallRc = void(__attribute__((stdcall)) *)(const void*, uint32_t);
using StdcallEnumEx = void(__attribute__((stdcall)) *)(uint32_t, const char*, uint32_t);
static_assert(std::is_same_v<QvTsDataCallback, StdcallTsData>);
static_assert(std::is_same_v<QvRcCallback, StdcallRc>);
static_assert(std::is_same_v<QvDeviceEnumCallbackEx, StdcallEnumEx>);
using CdeclGetCaps = uint32_t(__attribute__((cdecl)) *)();
static_assert(std::is_same_v<PFN_GetCaps, CdeclGetCaps>);
#endif  // 64-bit Windows has one calling convention: nothing to mix up

class Library {
 public:
  explicit Library(const char* name) : module_(platform::LoadLibrary(name)) {}
  ~Library() { platform::FreeLibrary(module_); }
  bool Loaded() const { return module_ >= 32; }
  template <class F>
  F Get(const char* name) const {
    return reinterpret_cast<F>(platform::GetProcAddress(module_, name));
  }

 private:
  platform::ModuleHandle module_;
};

// Where each callback found the stack on entry, per calling thread.
struct Frames {
  std::mutex mutex;
  std::vector<std::pair<std::thread::id, uintptr_t>> entries;
  std::atomic<int> calls{0};
  std::atomic<uint64_t> bytes{0};
};
Frames g_frames;

__attribute__((noinline)) void QV_CALLBACK OnRemoteCode(const void* code, uint32_t countOrKind) {
  const uintptr_t frame = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
  if (code != nullptr) g_frames.bytes += countOrKind;
  std::lock_guard lock(g_frames.mutex);
  if (g_frames.entries.size() < 50000)
    g_frames.entries.emplace_back(std::this_thread::get_id(), frame);
  ++g_frames.calls;
}

std::vector<std::pair<uint32_t, std::string>> g_devices;
void QV_CALLBACK OnDevice(uint32_t id, const char* name, uint32_t) {
  g_devices.emplace_back(id, name);
}

TEST(CallingConvention, ThousandsOfStdcallCallbacksFromLibraryThreadsLeaveTheStackBalanced) {
#ifdef _WIN64
  GTEST_SKIP() << "64-bit Windows has one calling convention: no callback can unbalance the stack";
#endif
  // The virtual remote presses its keys without pauses, for ever.
  char dir[MAX_PATH];
  ASSERT_GT(GetTempPathA(MAX_PATH, dir), 0u);
  const std::string config = std::string(dir) + "qv_cc_config.json";
  {
    std::ofstream out(config);
    out << R"({"remote": {"fast": true}})"
        << "\n";
  }
  ASSERT_EQ(_putenv_s("QUORVEX_SIM_CONFIG", config.c_str()), 0);
  Library dll("quorvex.dll");
  _putenv_s("QUORVEX_SIM_CONFIG", "");
  ASSERT_TRUE(dll.Loaded());
  auto check = dll.Get<PFN_CheckForDVBExEx>("CheckForDVBExEx");
  auto start = dll.Get<PFN_StartDVBEx>("StartDVBEx");
  auto setRemote = dll.Get<PFN_SetRemoteControl>("SetRemoteControl");
  auto delFilter = dll.Get<PFN_DelFilter>("DelFilter");
  auto stop = dll.Get<PFN_StopDVB>("StopDVB");
  ASSERT_TRUE(check && start && setRemote && delFilter && stop);

  // Enumeration callbacks run on this thread, inside the call.
  g_devices.clear();
  ASSERT_NE(check(OnDevice), 0);
  ASSERT_FALSE(g_devices.empty());
  ASSERT_NE(start(g_devices.front().first), 0);

  int32_t filter = -1;
  ASSERT_NE(setRemote(1, 0xFFFF, OnRemoteCode, &filter), 0);
  constexpr int kCalls = 5000;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(40);
  while (g_frames.calls < kCalls && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_NE(delFilter(filter), 0);
  EXPECT_NE(stop(), 0);
  std::remove(config.c_str());

  std::lock_guard lock(g_frames.mutex);
  ASSERT_GE(g_frames.calls.load(), kCalls) << "the library delivered too few callbacks";
  EXPECT_GT(g_frames.bytes.load(), 0u);
  // A thread that calls from the same places finds the stack at the same few
  // depths; a convention mix-up would walk it 8 bytes further every call.
  std::vector<std::thread::id> threads;
  for (const auto& e : g_frames.entries) {
    if (std::find(threads.begin(), threads.end(), e.first) == threads.end()) {
      threads.push_back(e.first);
    }
  }
  for (std::thread::id t : threads) {
    uintptr_t low = UINTPTR_MAX, high = 0;
    size_t n = 0;
    for (const auto& e : g_frames.entries) {
      if (e.first != t) continue;
      low = std::min(low, e.second);
      high = std::max(high, e.second);
      ++n;
    }
    EXPECT_LE(high - low, 256u) << "stack of a library thread moved by " << (high - low)
                                << " bytes over " << n << " callbacks";
  }
  EXPECT_EQ(std::find(threads.begin(), threads.end(), std::this_thread::get_id()), threads.end())
      << "remote-control codes must arrive on the library's own threads";
}

TEST(Exports, EveryEntryPointUnderItsPlainNameAndNoDecoratedOnes) {
  Library full("quorvex.dll");
  ASSERT_TRUE(full.Loaded());
  std::vector<std::string> missing;
#define QV_CHECK_EXPORT(name, type, critical) \
  if (full.Get<void*>(#name) == nullptr) missing.push_back(#name);
  QV_ENTRY_POINTS(QV_CHECK_EXPORT)
#undef QV_CHECK_EXPORT
  EXPECT_TRUE(missing.empty()) << missing.front();
  // cdecl exports carry no underscore and no @n suffix of a stdcall export.
  EXPECT_EQ(full.Get<void*>("_CheckForDVB"), nullptr);
  EXPECT_EQ(full.Get<void*>("StartDVBEx@4"), nullptr);
  EXPECT_EQ(full.Get<void*>("_StartDVBEx@4"), nullptr);
}

TEST(Exports, AVariantExportsOnlyItsOwnList) {
  // The critical variant keeps six entry points and must not leak the rest.
  Library critical(QV_BIN_DIR "/critical/quorvex.dll");
  ASSERT_TRUE(critical.Loaded());
  int present = 0;
#define QV_COUNT_EXPORT(name, type, isCritical)                 \
  if (critical.Get<void*>(#name) != nullptr) {                  \
    ++present;                                                  \
    EXPECT_EQ(isCritical, 1) << #name " leaked into a variant"; \
  }
  QV_ENTRY_POINTS(QV_COUNT_EXPORT)
#undef QV_COUNT_EXPORT
  EXPECT_EQ(present, 6);
}

TEST(Loader, MissingLibraryIsBelowTheFailureThresholdAndNeverLookedInto) {
  Library none("quorvex_not_here.dll");
  EXPECT_FALSE(none.Loaded());
  EXPECT_EQ(none.Get<void*>("CheckForDVB"), nullptr);
}

}  // namespace
