// Captures started and stopped while the virtual card delivers a locked
// transponder as fast as it can (label threads, also under ThreadSanitizer):
// no delivery after DelFilter returned, every file exactly what was delivered
// for it, and the text shown after each stop its length in kilobytes.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "capture/capture_status.h"
#include "tests/program/stress_harness.h"
#include "tuner/tuner_api.h"

namespace {

namespace fs = std::filesystem;

std::mutex gMutex;
std::vector<uint64_t> gDelivered;  // bytes per capture, in start order
std::atomic<QvTsDataCallback> gProgramCallback{nullptr};
PFN_SetFilter gRealSet = nullptr;

void QV_CALLBACK Recorder(const uint8_t* data, uint32_t length) {
  stress::NoteCallback();
  {
    std::lock_guard lock(gMutex);
    gDelivered.back() += length;
  }
  gProgramCallback.load()(data, length);
}

int32_t QV_API RecordingSetFilter(uint32_t pid, QvTsDataCallback cb, uint32_t a, uint32_t b,
                                  int32_t* filter) {
  gProgramCallback = cb;
  {
    std::lock_guard lock(gMutex);
    gDelivered.push_back(0);
  }
  return stress::Register([&] { return gRealSet(pid, Recorder, a, b, filter); });
}

TEST(CaptureStress, FilesHoldExactlyWhatWasDeliveredAndNothingAfterStop) {
  const fs::path dir = stress::MakeScratchFolder("/tmp/qv_capture_stress");
  ASSERT_FALSE(dir.empty());
  ASSERT_EQ(stress::LoadVirtualCard(dir, R"({"stream": {"fast": true, "packets": 7}})"), 0);
  gRealSet = TunerApi.SetFilter;
  TunerApi.SetFilter = RecordingSetFilter;
  stress::WatchDelFilter();

  // Tune the default transponder, then captures of the whole stream and of
  // single PIDs, stopped after varying times, sometimes with no wait at all.
  constexpr int kCaptures = 24;
  const char* pids[] = {"8192", "257", "0", "8192"};
  std::ostringstream script;
  script << "click 1012\n";
  for (int i = 0; i < kCaptures; ++i) {
    script << "type 1054 " << pids[i % 4] << "\nanswer file "
           << (dir / (std::to_string(i) + ".ts")).string() << "\nclick 1052\n";
    if (i % 3 != 0) script << "wait " << (i % 3) * 5 << "\n";
    script << "click 1052\nshow 1055\n";
  }
  script << "wait 50\n";

  std::vector<std::string> shown;
  for (const std::string& line : stress::RunMainDialog(script.str())) {
    ASSERT_NE(line.rfind("error:", 0), 0u) << line;
    if (line.rfind("control 1055:", 0) == 0) shown.push_back(line.substr(line.find("text=") + 5));
  }
  EXPECT_EQ(stress::LateCallbacks(), 0) << "deliveries after DelFilter returned";
  ASSERT_EQ(gDelivered.size(), static_cast<size_t>(kCaptures));
  ASSERT_EQ(shown.size(), static_cast<size_t>(kCaptures));
  uint64_t all = 0;
  std::string previous;
  for (int i = 0; i < kCaptures; ++i) {
    const uint64_t length = fs::file_size(dir / (std::to_string(i) + ".ts"));
    EXPECT_EQ(length, gDelivered[i]) << "capture " << i;
    EXPECT_EQ(length % 188, 0u);
    // A capture that got nothing keeps the text of the one before.
    const std::string expected = gDelivered[i] != 0 ? CaptureStatusText(length) : previous;
    EXPECT_EQ(shown[i], expected) << "capture " << i;
    previous = shown[i];
    all += length;
  }
  EXPECT_GT(all, 100000u) << "too little delivered to stress anything";
  stress::RemoveScratchFolder(dir);
}

}  // namespace
