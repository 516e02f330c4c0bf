#include "framework/post_queue.h"

#include <utility>

namespace fw {

PostQueue::PostQueue(std::function<void()> wake) : wake_(std::move(wake)) {}

PostQueue::~PostQueue() { Close(); }

bool PostQueue::Post(std::function<void()> work) {
  {
    std::lock_guard lock(mutex_);
    if (accepting_) {
      items_.push_back(Item{Clock::now(), std::move(work)});
      // Signalled under the lock: once the work is visible the poster no
      // longer touches the queue except to unlock.
      queued_.notify_one();
      if (wake_) wake_();
      return true;
    }
  }
  work = nullptr;
  return false;
}

void PostQueue::Open() {
  std::lock_guard lock(mutex_);
  accepting_ = true;
}

void PostQueue::Close() {
  std::deque<Item> dropped;
  {
    std::lock_guard lock(mutex_);
    dropped.swap(items_);
    accepting_ = false;
  }
}

bool PostQueue::RunOne(Clock::time_point postedBy) {
  std::function<void()> work;
  {
    std::lock_guard lock(mutex_);
    if (items_.empty() || items_.front().posted > postedBy) return false;
    work = std::move(items_.front().work);
    items_.pop_front();
  }
  work();
  return true;
}

size_t PostQueue::Drain() {
  size_t ran = 0;
  while (RunOne()) ++ran;
  return ran;
}

bool PostQueue::WaitUntil(Clock::time_point deadline) {
  std::unique_lock lock(mutex_);
  return queued_.wait_until(lock, deadline, [this] { return !items_.empty(); });
}

size_t PostQueue::Pending() const {
  std::lock_guard lock(mutex_);
  return items_.size();
}

}  // namespace fw
