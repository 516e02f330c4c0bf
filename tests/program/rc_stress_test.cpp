// Remote-control reception under load: the virtual remote sends codes as fast
// as it can while the user switches reception and file logging on and off.
// Nothing may deadlock, every code the library delivered must reach the list
// once and in order, and the log file must hold exactly what the list got
// while it was open.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/program/stress_harness.h"
#include "tuner/tuner_api.h"

namespace {

namespace fs = std::filesystem;

// Between the program and the library: records each code the library hands
// over, in order, before passing it on to the program's callback.
std::mutex gMutex;
std::vector<uint16_t> gDelivered;
std::atomic<QvRcCallback> gProgramCallback{nullptr};
PFN_SetRemoteControl gRealSet = nullptr;

void QV_CALLBACK Recorder(const void* code, uint32_t kind) {
  stress::NoteCallback();
  uint16_t word = 0;
  std::memcpy(&word, code, sizeof word);
  {
    std::lock_guard lock(gMutex);
    gDelivered.push_back(kind == 2 ? word : 0xFFFF);
  }
  gProgramCallback.load()(code, kind);
}

int32_t QV_API RecordingSetRemoteControl(uint32_t type, uint32_t device, QvRcCallback callback,
                                         int32_t* filter) {
  gProgramCallback = callback;
  return stress::Register([&] { return gRealSet(type, device, Recorder, filter); });
}

std::string ExpectedLine(uint16_t word) {
  char text[64];
  std::snprintf(text, sizeof text, "RC5:%04X - Dev=%02X Key=%02X Toggle=%d", word,
                (word >> 6) & 0x1F, word & 0x3F, (word & 0x8800) != 0 ? 1 : 0);
  return text;
}

std::vector<std::string> ReadLines(const fs::path& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(RcStress, EveryCodeOnceInOrderInTheListAndTheOpenLogFile) {
  const fs::path dir = stress::MakeScratchFolder("/tmp/qv_rc_stress");
  ASSERT_FALSE(dir.empty());
  // As fast as it can, up to 400 presses per registration, so the queue of
  // lines stays within bounds on a slow machine.
  std::ostringstream config;
  config << R"({"remote": {"fast": true, "presses": 400, "keys": [)";
  for (int i = 0; i < 64; ++i) {
    config << (i ? ", " : "") << R"({"address": )" << i % 32 << R"(, "command": )" << i
           << R"(, "repeats": )" << i % 3 << "}";
  }
  config << "]}}";
  ASSERT_EQ(stress::LoadVirtualCard(dir, config.str()), 0);
  gRealSet = TunerApi.SetRemoteControl;
  ASSERT_NE(gRealSet, nullptr);
  TunerApi.SetRemoteControl = RecordingSetRemoteControl;
  stress::WatchDelFilter();

  // RC5 for all devices; then sessions that open and close the log file
  // inside, around and outside the time reception is on.
  constexpr int kSessions = 60;
  std::ostringstream script;
  script << "select 1046 1\n";
  for (int i = 0; i < kSessions; ++i) {
    const std::string log = (dir / ("log" + std::to_string(i) + ".log")).string();
    if (i % 3 == 0) {
      script << "click 1044\nwait 2\nanswer file " << log << "\nclick 1030\nwait 3\n"
             << "click 1030\nshow 1030\nwait 2\nclick 1044\nwait 1\n";
    } else if (i % 3 == 1) {
      script << "answer file " << log << "\nclick 1030\nclick 1044\nwait 3\nclick 1044\n"
             << "wait 1\nclick 1030\nshow 1030\n";
    } else {
      script << "click 1044\nanswer file " << log << "\nclick 1030\nclick 1044\nwait 2\n"
             << "click 1030\nshow 1030\n";
    }
  }
  script << "wait 300\n";

  const std::vector<std::string> transcript = stress::RunMainDialog(script.str());

  std::vector<std::string> rcLines;
  for (const std::string& line : transcript) {
    ASSERT_NE(line.rfind("error:", 0), 0u) << line;
    if (line.rfind("log: RC5:", 0) == 0) rcLines.push_back(line.substr(5));
  }
  std::vector<std::string> expected;
  {
    std::lock_guard lock(gMutex);
    for (uint16_t w : gDelivered) expected.push_back(ExpectedLine(w));
  }
  EXPECT_EQ(stress::LateCallbacks(), 0) << "callbacks after DelFilter returned";
  RecordProperty("codes", static_cast<int>(expected.size()));
  EXPECT_GE(expected.size(), 1000u) << "too few codes to stress anything";
  ASSERT_EQ(rcLines.size(), expected.size()) << "codes lost or doubled on the way to the list";
  for (size_t i = 0; i < expected.size(); ++i) {
    ASSERT_EQ(rcLines[i], expected[i]) << "code " << i << " out of order";
  }
  EXPECT_EQ(std::count(transcript.begin(), transcript.end(), "log: RC disabled."), kSessions);

  // Each file holds exactly the list's lines from its opening to its closing.
  size_t filesWithCodes = 0;
  for (int i = 0; i < kSessions; ++i) {
    const fs::path log = dir / ("log" + std::to_string(i) + ".log");
    auto open = std::find_if(transcript.begin(), transcript.end(), [&](const std::string& l) {
      return l.rfind("filedialog: ", 0) == 0 && l.size() > log.string().size() &&
             l.compare(l.size() - log.string().size(), std::string::npos, log.string()) == 0;
    });
    ASSERT_NE(open, transcript.end()) << log;
    auto close = std::find_if(open, transcript.end(), [](const std::string& l) {
      return l.rfind("control 1030:", 0) == 0;
    });
    ASSERT_NE(close, transcript.end());
    std::vector<std::string> listed;
    for (auto it = open + 1; it != close; ++it) {
      if (it->rfind("log: ", 0) == 0) listed.push_back(it->substr(5));
    }
    const std::vector<std::string> written = ReadLines(log);
    EXPECT_EQ(written, listed) << log;
    if (std::any_of(written.begin(), written.end(),
                    [](const std::string& l) { return l.rfind("RC5:", 0) == 0; })) {
      ++filesWithCodes;
    }
  }
  EXPECT_GT(filesWithCodes, 0u) << "no code ever reached an open log file";
  stress::RemoveScratchFolder(dir);
}

}  // namespace
