// Callbacks a library makes where the program does not expect them, for
// testing a program against odd libraries: devices reported after the
// enumeration call returned, codes and stream buffers after DelFilter
// returned. A thread of the library makes them at their times, and ends
// when none is left.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

namespace qvsim {

class LateCalls {
 public:
  LateCalls() = default;
  ~LateCalls();
  LateCalls(const LateCalls&) = delete;
  LateCalls& operator=(const LateCalls&) = delete;

  // Runs `call` on the library's thread `delayMs` from now.
  void After(uint32_t delayMs, std::function<void()> call);
  // Drops the calls not made yet and waits for the thread to end.
  void Drop();

 private:
  using Clock = std::chrono::steady_clock;
  void Run();

  std::mutex mu_;
  std::condition_variable wake_;
  std::multimap<Clock::time_point, std::function<void()>> due_;
  bool running_ = false;
  std::thread thread_;
};

}  // namespace qvsim
