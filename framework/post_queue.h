// Work handed to the user-interface thread from any thread, run there in the
// order it was posted. The host only supplies a way to wake that thread; the
// queue decides what is accepted, what is dropped and what runs.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

namespace fw {

class PostQueue {
 public:
  using Clock = std::chrono::steady_clock;

  // `wake` is called after each accepted post, under the queue's lock, so a
  // host torn down right after its last work ran is never touched; it must
  // neither block nor post.
  explicit PostQueue(std::function<void()> wake = nullptr);
  ~PostQueue();
  PostQueue(const PostQueue&) = delete;
  PostQueue& operator=(const PostQueue&) = delete;

  // Queues work; false when the queue is closed (the work is then destroyed
  // before returning, unlocked). Never waits for the user-interface thread.
  bool Post(std::function<void()> work);
  // Accepts work again (a new main dialog opens).
  void Open();
  // Stops accepting and destroys what is queued: the dialog it was meant for
  // has ended. Queued work is destroyed outside the lock, since its captures
  // may post in turn.
  void Close();
  // Runs the oldest work posted no later than `postedBy`; whether it ran one.
  bool RunOne(Clock::time_point postedBy = Clock::time_point::max());
  // Runs queued work, work posted meanwhile included, until none is left;
  // returns how much ran.
  size_t Drain();
  // Waits until work is queued or the deadline passes; whether work is queued.
  bool WaitUntil(Clock::time_point deadline);
  // How much work is queued.
  size_t Pending() const;

 private:
  struct Item {
    Clock::time_point posted;
    std::function<void()> work;
  };

  std::function<void()> wake_;
  mutable std::mutex mutex_;
  std::condition_variable queued_;
  std::deque<Item> items_;  // guarded by mutex_
  bool accepting_ = true;   // guarded by mutex_
};

}  // namespace fw
