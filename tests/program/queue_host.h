// A host that keeps posted work until the test runs it, as a user-interface
// thread that is busy elsewhere would.
#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <string>

#include "framework/host.h"

class QueueHost : public fw::Host {
 public:
  int RunModal(fw::Dialog&) override { return fw::kIdCancel; }
  int MessageBox(const std::string&, const std::string&, fw::BoxIcon) override { return 0; }
  void Post(std::function<void()> work) override {
    std::lock_guard lock(mu_);
    queue_.push_back(std::move(work));
  }
  // Work posted and not yet run.
  size_t Pending() {
    std::lock_guard lock(mu_);
    return queue_.size();
  }
  // Runs the queued work, including work posted meanwhile; returns how much ran.
  size_t Pump() {
    size_t n = 0;
    for (;;) {
      std::function<void()> work;
      {
        std::lock_guard lock(mu_);
        if (queue_.empty()) return n;
        work = std::move(queue_.front());
        queue_.pop_front();
      }
      work();
      ++n;
    }
  }

 private:
  std::mutex mu_;
  std::deque<std::function<void()>> queue_;
};
