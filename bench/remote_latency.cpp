// Remote-control latency: the virtual remote presses 1,000 keys a second at
// the program's main dialog on the headless host, RC5 reception on and the
// message log going to a file. For every code, the time from the library's
// callback to its line in the list and to its line in the log file; prints
// p50/p99/max of both, and whether every code reached both once and in order.
//
//   qv_bench_remote [SECONDS] [DIR]    default 10 s, scratch files in DIR
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <sstream>
#include <streambuf>
#include <string>
#include <thread>
#include <vector>

#include "app/quorvex_demo_dlg.h"
#include "framework/host.h"
#include "hosts/headless/headless_host.h"
#include "res/resource_ids.h"
#include "tuner/tuner_api.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Stamped {
  std::string line;
  Clock::time_point at;
};

// What the library handed over, in order, stamped as the callback began.
std::mutex gMu;
std::vector<uint16_t> gWords;
std::vector<Clock::time_point> gCalled;
QvRcCallback gProgramCallback = nullptr;
PFN_SetRemoteControl gRealSet = nullptr;

void QV_CALLBACK Recorder(const void* code, uint32_t kind) {
  const Clock::time_point now = Clock::now();
  uint16_t word = 0;
  if (kind == 2) std::memcpy(&word, code, sizeof word);
  {
    std::lock_guard lock(gMu);
    gWords.push_back(word);
    gCalled.push_back(now);
  }
  gProgramCallback(code, kind);
}

int32_t QV_API RecordingSetRemoteControl(uint32_t type, uint32_t device, QvRcCallback callback,
                                         int32_t* filter) {
  gProgramCallback = callback;
  return gRealSet(type, device, Recorder, filter);
}

// The headless host's transcript: each line stamped as the list takes it,
// which is when the host writes it.
class StampingBuffer : public std::streambuf {
 public:
  std::vector<Stamped> lines;

 protected:
  int_type overflow(int_type c) override {
    if (c == traits_type::eof()) return traits_type::not_eof(c);
    if (c == '\n') {
      lines.push_back({std::move(line_), Clock::now()});
      line_.clear();
    } else {
      line_.push_back(static_cast<char>(c));
    }
    return c;
  }

 private:
  std::string line_;
};

// Reads the log file, a FIFO, as the program writes it: each line stamped as
// it arrives. The reader keeps a writer of its own open, so that it waits
// instead of seeing the end before the program opens the file.
class FifoReader {
 public:
  explicit FifoReader(const std::string& path) {
    readFd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    holdFd_ = ::open(path.c_str(), O_WRONLY);
    ::fcntl(readFd_, F_SETFL, ::fcntl(readFd_, F_GETFL) & ~O_NONBLOCK);
    thread_ = std::thread([this] { Read(); });
  }
  // Call once the program closed the file.
  std::vector<Stamped> Finish() {
    ::close(holdFd_);
    thread_.join();
    ::close(readFd_);
    return std::move(lines_);
  }

 private:
  void Read() {
    std::string partial;
    char chunk[65536];
    for (ssize_t n; (n = ::read(readFd_, chunk, sizeof chunk)) > 0;) {
      const Clock::time_point now = Clock::now();
      for (ssize_t i = 0; i < n; ++i) {
        if (chunk[i] == '\n') {
          lines_.push_back({std::move(partial), now});
          partial.clear();
        } else {
          partial.push_back(chunk[i]);
        }
      }
    }
  }
  int readFd_ = -1;
  int holdFd_ = -1;
  std::thread thread_;
  std::vector<Stamped> lines_;
};

std::string ExpectedLine(uint16_t word) {
  char text[64];
  std::snprintf(text, sizeof text, "RC5:%04X - Dev=%02X Key=%02X Toggle=%d", word,
                (word >> 6) & 0x1F, word & 0x3F, (word & 0x8800) != 0 ? 1 : 0);
  return text;
}

// Matches the RC5 lines of `where` to the delivered codes in order and prints
// the latency figures; false when a code is missing, doubled or out of place.
bool Report(const char* where, const std::vector<Stamped>& lines, const std::string& prefix) {
  std::vector<const Stamped*> codes;
  for (const Stamped& s : lines) {
    if (s.line.rfind(prefix, 0) == 0) codes.push_back(&s);
  }
  std::vector<double> ms;
  size_t firstWrong =
      codes.size() == gWords.size() ? SIZE_MAX : std::min(codes.size(), gWords.size());
  for (size_t i = 0; i < std::min(codes.size(), gWords.size()); ++i) {
    // The line as logged starts with "RC5:", after the list's prefix if any.
    const size_t skip = prefix.size() - std::strlen("RC5:");
    if (codes[i]->line.compare(skip, std::string::npos, ExpectedLine(gWords[i])) != 0) {
      firstWrong = std::min(firstWrong, i);
    }
    ms.push_back(std::chrono::duration<double, std::milli>(codes[i]->at - gCalled[i]).count());
  }
  std::sort(ms.begin(), ms.end());
  const auto at = [&](double q) {
    return ms.empty() ? 0.0 : ms[std::min(ms.size() - 1, static_cast<size_t>(q * ms.size()))];
  };
  std::printf("  callback -> %-9s p50 %7.3f ms   p99 %7.3f ms   max %7.3f ms\n", where, at(0.5),
              at(0.99), ms.empty() ? 0.0 : ms.back());
  if (firstWrong == SIZE_MAX) {
    std::printf("  %-9s every one of %zu codes once, in order\n", where, codes.size());
    return true;
  }
  std::printf("  %-9s %zu lines for %zu codes; first wrong at code %zu\n", where, codes.size(),
              gWords.size(), firstWrong);
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
  const std::string dir = argc > 2 ? argv[2] : ".";
  const std::string config = dir + "/qv_bench_remote.json";
  const std::string fifo = dir + "/qv_bench_remote.log";
  {
    // One press a millisecond, each a different code, none held.
    std::string keys;
    for (int i = 0; i < 64; ++i) {
      keys += (i ? ", " : "") + std::string(R"({"address": )") + std::to_string(i % 32) +
              R"(, "command": )" + std::to_string(i) + R"(, "repeats": 0})";
    }
    std::FILE* out = std::fopen(config.c_str(), "w");
    std::fprintf(out, R"({"remote": {"interval": 1, "presses": %d, "keys": [%s]}})", seconds * 1000,
                 keys.c_str());
    std::fclose(out);
  }
  ::unlink(fifo.c_str());
  if (::mkfifo(fifo.c_str(), 0644) != 0) {
    std::perror("mkfifo");
    return 1;
  }
  setenv("QUORVEX_SIM_CONFIG", config.c_str(), 1);
  unsetenv("QUORVEX_SIM_TRACE");
  if (LoadTunerLibraryFrom(QV_BIN_DIR "/libquorvex.dll") != 0) {
    std::fprintf(stderr, "cannot load the virtual card\n");
    return 1;
  }
  gRealSet = TunerApi.SetRemoteControl;
  TunerApi.SetRemoteControl = RecordingSetRemoteControl;

  // RC5 for every device, the log to the FIFO, reception on for the whole
  // run and a little more, then off.
  std::istringstream script(
      "select " + std::to_string(IDC_LIST_RC_TYPE) + " 1\nanswer file " + fifo + "\nclick " +
      std::to_string(IDC_CHK_LOG_TO_FILE) + "\nclick " + std::to_string(IDC_CHK_RC_ENABLE) +
      "\nwait " + std::to_string(seconds * 1000 + 500) + "\nclick " +
      std::to_string(IDC_CHK_RC_ENABLE) + "\nclick " + std::to_string(IDC_CHK_LOG_TO_FILE) + "\n");
  FifoReader reader(fifo);
  StampingBuffer stamps;
  {
    std::ostream transcript(&stamps);
    headless::HeadlessHost host(script, transcript, headless::HeadlessHost::Options{false});
    fw::SetCurrentHost(&host);
    CQuorvexDemoDlg dlg;
    host.RunModal(dlg);
    fw::SetCurrentHost(nullptr);
  }
  const std::vector<Stamped> logged = reader.Finish();
  ::unlink(fifo.c_str());
  ::unlink(config.c_str());

  std::lock_guard lock(gMu);
  std::printf("remote control, %zu codes in %d s through the virtual card:\n", gWords.size(),
              seconds);
  const bool listed = Report("list", stamps.lines, "log: RC5:");
  const bool filed = Report("log file", logged, "RC5:");
  return listed && filed ? 0 : 1;
}
