// The codes the library's remote-control callbacks deliver, formatted as log
// lines and queued for the user-interface thread.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

class UiPort;

class RcReception {
 public:
  // `serve` is posted to `ui`'s user-interface thread when lines wait, at
  // most once for all of them; it takes them with TakeLines.
  RcReception(UiPort& ui, std::function<void()> serve);
  // The library is released before the reception goes, so no code follows.
  ~RcReception();
  RcReception(const RcReception&) = delete;
  RcReception& operator=(const RcReception&) = delete;

  // Whether codes are expected: from just before the registering call until
  // its DelFilter returned. A code at any other time (a library that calls
  // back after DelFilter) is dropped rather than logged.
  void Accept(bool accept);
  // Queues one line; called on the library's thread. Holds the lock only to
  // append and never waits for the user-interface thread, which may be
  // inside DelFilter at this moment, waiting for this very callback.
  void Deliver(const std::string& line);
  // The lines queued so far, in order, each ending in '\n'; user-interface
  // thread only, valid until the next call.
  const std::string& TakeLines();

 private:
  UiPort& ui_;
  std::function<void()> serve_;
  // One buffer, so a flood of codes costs a few bytes a line while it waits.
  std::mutex mutex_;
  std::string queue_;
  bool postPending_ = false;
  bool accepting_ = false;
  // The user-interface thread's batch; swapped with the queue, so the two
  // buffers keep their capacity and a flood does not reallocate at every turn.
  std::string batch_;
};
