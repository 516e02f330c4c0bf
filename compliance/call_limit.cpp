#include "compliance/call_limit.h"

namespace compliance {

CallLimit::CallLimit(std::chrono::milliseconds limit,
                     std::function<void(const std::string&)> onTimeout)
    : limit_(limit), onTimeout_(std::move(onTimeout)), worker_([this] { Work(); }) {}

CallLimit::~CallLimit() {
  {
    std::lock_guard lock(mu_);
    quit_ = true;
  }
  cv_.notify_all();
  worker_.join();
}

void CallLimit::Work() {
  std::unique_lock lock(mu_);
  for (;;) {
    cv_.wait(lock, [&] { return quit_ || job_; });
    if (!job_) return;
    std::function<void()> job = std::move(job_);
    job_ = nullptr;
    lock.unlock();
    job();
    lock.lock();
    done_ = true;
    cv_.notify_all();
  }
}

void CallLimit::RunVoid(const std::string& callName, std::function<void()> call) {
  const auto start = std::chrono::steady_clock::now();
  std::unique_lock lock(mu_);
  job_ = std::move(call);
  done_ = false;
  cv_.notify_all();
  if (!cv_.wait_for(lock, limit_, [&] { return done_; })) {
    lock.unlock();
    onTimeout_(callName);
  }
  last_ = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                                start);
}

}  // namespace compliance
