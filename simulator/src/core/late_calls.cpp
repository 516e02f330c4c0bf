#include "late_calls.h"

#include <utility>

namespace qvsim {

LateCalls::~LateCalls() { Drop(); }

void LateCalls::After(uint32_t delayMs, std::function<void()> call) {
  std::unique_lock lock(mu_);
  due_.emplace(Clock::now() + std::chrono::milliseconds(delayMs), std::move(call));
  if (!running_) {
    // The thread of an earlier batch has ended, or is about to: it holds
    // nothing the next one needs.
    std::thread previous = std::move(thread_);
    running_ = true;
    thread_ = std::thread([this] { Run(); });
    lock.unlock();
    if (previous.joinable()) previous.join();
    return;
  }
  lock.unlock();
  wake_.notify_all();
}

void LateCalls::Drop() {
  std::thread thread;
  {
    std::lock_guard lock(mu_);
    due_.clear();
    thread = std::move(thread_);
  }
  wake_.notify_all();
  // A late call that stops the device ends its own thread by returning.
  if (thread.joinable() && thread.get_id() == std::this_thread::get_id()) {
    thread.detach();
  } else if (thread.joinable()) {
    thread.join();
  }
}

void LateCalls::Run() {
  std::unique_lock lock(mu_);
  // The thread ends as soon as nothing is due, so it is long gone when the
  // library is unloaded: Windows would not let it end while the loader
  // waits for it.
  while (!due_.empty()) {
    const auto first = due_.begin();
    if (Clock::now() < first->first) {
      wake_.wait_until(lock, first->first);
      continue;
    }
    std::function<void()> call = std::move(first->second);
    due_.erase(first);
    // The program is called without the lock: it may call into the library.
    lock.unlock();
    call();
    lock.lock();
  }
  running_ = false;
}

}  // namespace qvsim
