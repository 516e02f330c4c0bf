// Capture throughput: the virtual card delivers a locked transponder's whole
// stream as fast as it can, and the program's TsDataCallback records it to a
// file. Two baselines on the same filesystem: a bare callback that write()s
// each buffer as the card delivers it (the same delivery, so the ratio to it
// is the cost of the program's own callback), and the same buffers written in
// a loop with no card at all (the ceiling of the disk path). Prints the
// median rates of three runs, both ratios, whether the recorded file is
// byte-identical to what the card delivered, and the callbacks' own cost per
// buffer away from the disk.
//
//   qv_bench_capture [MIB] [DIR]    1316-byte and 96,256-byte buffers, MIB
//                                   MiB each (default 512), files in DIR
//   qv_bench_capture --one PACKETS MIB DIR   one buffer size (used by the above)
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "capture/capture_session.h"
#include "framework/host.h"
#include "platform/file.h"
#include "tuner/no_window_port.h"
#include "tuner/tuner_api.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Serves posted work on a thread of its own, as a user-interface thread would,
// and runs `tick` there once per capture status period, as its timer would.
class ServingHost : public fw::Host {
 public:
  explicit ServingHost(std::function<void()> tick)
      : tick_(std::move(tick)), thread_([this] { Serve(); }) {}
  ~ServingHost() override {
    {
      std::lock_guard lock(mu_);
      done_ = true;
    }
    wake_.notify_one();
    thread_.join();
  }
  int RunModal(fw::Dialog&) override { return 0; }
  int MessageBox(const std::string&, const std::string&, fw::BoxIcon) override { return 0; }
  void Post(std::function<void()> work) override {
    std::lock_guard lock(mu_);
    queue_.push_back(std::move(work));
    ++posts;
    wake_.notify_one();
  }
  std::atomic<uint64_t> posts{0};

 private:
  void Serve() {
    std::unique_lock lock(mu_);
    Clock::time_point due = Clock::now() + kPeriod;
    for (;;) {
      wake_.wait_until(lock, due, [&] { return done_ || !queue_.empty(); });
      if (done_ && queue_.empty()) return;
      if (queue_.empty()) {
        lock.unlock();
        tick_();
        lock.lock();
        due += kPeriod;
        continue;
      }
      auto work = std::move(queue_.front());
      queue_.pop_front();
      lock.unlock();
      work();
      lock.lock();
    }
  }
  static constexpr std::chrono::milliseconds kPeriod{kCaptureStatusPeriodMs};
  std::function<void()> tick_;
  std::mutex mu_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> queue_;
  bool done_ = false;
  std::thread thread_;
};

std::mutex gMu;
std::vector<uint8_t> gMemory;

void QV_CALLBACK ToMemory(const uint8_t* data, uint32_t length) {
  std::lock_guard lock(gMu);
  if (gMemory.size() + length <= gMemory.capacity())
    gMemory.insert(gMemory.end(), data, data + length);
}

// The bare callback: one write() per buffer, nothing else.
int gPlainFd = -1;
std::atomic<uint64_t> gPlainBytes{0};

void QV_CALLBACK PlainWrite(const uint8_t* data, uint32_t length) {
  if (::write(gPlainFd, data, length) != static_cast<ssize_t>(length)) std::abort();
  gPlainBytes.fetch_add(length, std::memory_order_relaxed);
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The end of a timed capture: the delivery that completes it notes the time,
// so the measuring thread sleeps instead of polling beside the stream.
std::mutex gDoneMu;
std::condition_variable gDoneCv;
std::atomic<uint64_t> gTarget{0};
std::atomic<bool> gDone{false};
Clock::time_point gEnd;
QvTsDataCallback gInner = nullptr;
std::function<uint64_t()> gReceived;

void QV_CALLBACK Timed(const uint8_t* data, uint32_t length) {
  gInner(data, length);
  if (!gDone.load(std::memory_order_relaxed) && gReceived() >= gTarget) {
    std::lock_guard lock(gDoneMu);
    if (!gDone) {
      gEnd = Clock::now();
      gDone = true;
      gDoneCv.notify_one();
    }
  }
}

// Runs one filter on the whole stream until `bytes` came; returns the time.
double Capture(QvTsDataCallback callback, std::function<uint64_t()> received, uint64_t bytes) {
  gInner = callback;
  gReceived = std::move(received);
  gTarget = bytes;
  gDone = false;
  int32_t filter = -1;
  const Clock::time_point start = Clock::now();
  if (TunerApi.SetFilter(8192, Timed, 2, 1, &filter) == 0) {
    std::fprintf(stderr, "SetFilter failed\n");
    std::exit(1);
  }
  {
    std::unique_lock lock(gDoneMu);
    gDoneCv.wait(lock, [] { return gDone.load(); });
  }
  TunerApi.DelFilter(filter);
  return Seconds(gEnd - start);
}

// The middle of three runs: one disturbed run moves neither way.
double Median(std::vector<double> runs) {
  std::sort(runs.begin(), runs.end());
  return runs[runs.size() / 2];
}

bool SameFile(const std::string& path, const std::vector<uint8_t>& expected) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> got((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return got == expected;
}

// The callbacks' own cost, away from the disk and the card: each called in a
// loop on one buffer going to /dev/null; nanoseconds per buffer, median of
// three.
std::pair<double, double> CallbackCost(CaptureSession& session,
                                       const std::vector<uint8_t>& buffer) {
  constexpr int kCalls = 200000;
  const uint32_t length = static_cast<uint32_t>(buffer.size());
  std::vector<double> bareNs, programNs;
  for (int run = 0; run < 3; ++run) {
    gPlainFd = ::open("/dev/null", O_WRONLY);
    Clock::time_point start = Clock::now();
    for (int i = 0; i < kCalls; ++i) PlainWrite(buffer.data(), length);
    bareNs.push_back(Seconds(Clock::now() - start) * 1e9 / kCalls);
    ::close(gPlainFd);

    session.Restart();
    session.Open(platform::CreateFile("/dev/null", platform::Access::Write, platform::Share::Read,
                                      platform::Disposition::OpenExisting));
    start = Clock::now();
    for (int i = 0; i < kCalls; ++i) TsDataCallback(buffer.data(), length);
    programNs.push_back(Seconds(Clock::now() - start) * 1e9 / kCalls);
    session.Close();
  }
  return {Median(bareNs), Median(programNs)};
}

int RunOne(uint32_t packets, uint64_t mib, const std::string& dir) {
  const uint64_t buffer = uint64_t{packets} * 188;
  const uint64_t buffers = (mib << 20) / buffer;
  const uint64_t bytes = buffers * buffer;
  const std::string config = dir + "/qv_bench_capture.json";
  {
    std::ofstream out(config);
    out << R"({"stream": {"fast": true, "packets": )" << packets << R"(, "buffers": )" << buffers
        << "}}";
  }
  setenv("QUORVEX_SIM_CONFIG", config.c_str(), 1);
  if (LoadTunerLibraryFrom(QV_BIN_DIR "/libquorvex.dll") != 0) {
    std::fprintf(stderr, "cannot load the virtual card\n");
    return 1;
  }
  ServingHost* serving = nullptr;
  NoWindowPort ui([&](std::function<void()> work) { serving->Post(std::move(work)); });
  CaptureSession session(ui);
  ServingHost host([&] { session.OnStatusTimer(); });
  serving = &host;
  fw::SetCurrentHost(&host);
  // The dialog's default tune: a DVB-S2 transponder that locks.
  TunerApi.StartDVBEx(0xFFFFFFFFu);
  TunerApi.SetChannelExEx(10722000, 27500000, 0, 0, 9750000, 10600000, 11700000, 0, 0, 0, 0);

  // What the card delivers, kept in memory: the baseline's buffers.
  gMemory.reserve(bytes);
  Capture(
      ToMemory,
      [] {
        std::lock_guard lock(gMu);
        return uint64_t{gMemory.size()};
      },
      bytes);

  const std::string programFile = dir + "/qv_bench_capture_program.ts";
  const std::string plainFile = dir + "/qv_bench_capture_plain.ts";
  const std::string bareFile = dir + "/qv_bench_capture_bare.ts";
  std::vector<double> program, plain, bare;
  bool identical = true;
  for (int run = 0; run < 3; ++run) {
    // Baseline: the same buffers, one write() each.
    const int fd = ::open(plainFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const Clock::time_point start = Clock::now();
    for (uint64_t at = 0; at < bytes; at += buffer) {
      if (::write(fd, gMemory.data() + at, buffer) != static_cast<ssize_t>(buffer)) {
        std::perror("write");
        return 1;
      }
    }
    plain.push_back(Seconds(Clock::now() - start));
    ::close(fd);
    ::unlink(plainFile.c_str());

    // The same delivery into a bare write() callback.
    gPlainFd = ::open(bareFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const uint64_t bareBefore = gPlainBytes.load();
    bare.push_back(Capture(
        PlainWrite, [&] { return gPlainBytes.load() - bareBefore; }, bytes));
    ::close(gPlainFd);
    ::unlink(bareFile.c_str());

    // The program: the capture file opened as the "Enable" box opens it, in
    // a session with no window to show its status.
    session.Restart();
    session.Open(platform::CreateFile(programFile, platform::Access::Write, platform::Share::Read,
                                      platform::Disposition::CreateAlways));
    program.push_back(Capture(
        TsDataCallback, [&] { return session.Bytes(); }, bytes));
    session.Close();
    if (run == 0) identical = SameFile(programFile, gMemory);
    ::unlink(programFile.c_str());
  }
  const std::pair<double, double> cost =
      CallbackCost(session, std::vector<uint8_t>(gMemory.begin(), gMemory.begin() + buffer));
  TunerApi.StopDVB();
  fw::SetCurrentHost(nullptr);
  ::unlink(config.c_str());

  const double medPlain = Median(plain), medBare = Median(bare), medProgram = Median(program);
  const double mb = static_cast<double>(bytes) / 1e6;
  std::printf("buffers of %6llu bytes, %llu MiB:\n", static_cast<unsigned long long>(buffer),
              static_cast<unsigned long long>(mib));
  const auto rate = [&](const char* what, double seconds) {
    std::printf("  %-30s %8.1f MB/s  (%7.0f Mbit/s)\n", what, mb / seconds, mb * 8 / seconds);
  };
  rate("write() loop, no card", medPlain);
  rate("card -> bare write() callback", medBare);
  rate("card -> TsDataCallback", medProgram);
  std::printf("  ratio to the bare callback %.2f   to the write() loop %.2f\n",
              medBare / medProgram, medPlain / medProgram);
  std::printf("  status updates posted %llu   file %s\n",
              static_cast<unsigned long long>(host.posts.load()),
              identical ? "byte-identical" : "DIFFERS from what was delivered");
  std::printf("  into /dev/null: bare callback %.0f ns, TsDataCallback %.0f ns per buffer\n",
              cost.first, cost.second);
  return identical ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::strcmp(argv[1], "--one") == 0) {
    return RunOne(static_cast<uint32_t>(std::atoi(argv[2])), std::strtoull(argv[3], nullptr, 10),
                  argv[4]);
  }
  const std::string mib = argc > 1 ? argv[1] : "512";
  const std::string dir = argc > 2 ? argv[2] : ".";
  int status = 0;
  // Each size in a process of its own: the card reads its configuration once.
  for (const char* packets : {"7", "512"}) {
    std::string self = argv[0];
    char* args[] = {self.data(),
                    const_cast<char*>("--one"),
                    const_cast<char*>(packets),
                    const_cast<char*>(mib.c_str()),
                    const_cast<char*>(dir.c_str()),
                    nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, args, environ) != 0) return 1;
    int st = 0;
    waitpid(pid, &st, 0);
    if (!WIFEXITED(st) || WEXITSTATUS(st) != 0) status = 1;
  }
  return status;
}
