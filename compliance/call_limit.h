// Every library call runs on one worker thread under a time limit, so a call
// that never returns cannot hang the tool: it is reported as a failure that
// names the call, and the run ends cleanly (the stuck thread cannot be joined,
// so the process leaves without waiting for it).
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace compliance {

class CallLimit {
 public:
  // `onTimeout(callName)` runs when a call overruns `limit`; it must not
  // return (it reports and ends the process).
  CallLimit(std::chrono::milliseconds limit, std::function<void(const std::string&)> onTimeout);
  ~CallLimit();
  CallLimit(const CallLimit&) = delete;
  CallLimit& operator=(const CallLimit&) = delete;

  // Runs `call` on the worker thread and returns its result.
  template <class F>
  auto Run(const std::string& callName, F&& call) -> decltype(call()) {
    decltype(call()) result{};
    RunVoid(callName, [&] { result = call(); });
    return result;
  }
  // How long the last call took.
  std::chrono::microseconds LastDuration() const { return last_; }
  // The thread the library is called from.
  std::thread::id CallerThread() const { return worker_.get_id(); }

 private:
  void RunVoid(const std::string& callName, std::function<void()> call);
  void Work();

  std::chrono::milliseconds limit_;
  std::function<void(const std::string&)> onTimeout_;
  std::mutex mu_;
  std::condition_variable cv_;
  std::function<void()> job_;
  bool done_ = false, quit_ = false;
  std::chrono::microseconds last_{0};
  std::thread worker_;
};

}  // namespace compliance
