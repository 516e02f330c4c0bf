// Remote-control reception, owned by the dialog: the fields of the "RC" group
// and the lines the library's callbacks formatted for the user-interface
// thread.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

class RcReception {
 public:
  // `serve` is posted to the user-interface thread when lines wait, at most
  // once for all of them; it takes them with TakeLines.
  explicit RcReception(std::function<void()> serve);
  // The library is released before the reception goes, so no code follows.
  ~RcReception();
  RcReception(const RcReception&) = delete;
  RcReception& operator=(const RcReception&) = delete;

  // Bound to the group's controls by the dialog's data exchange.
  int32_t m_bRcEnable = 0;
  int32_t m_nRcType = 0;
  int32_t m_nRcDev = 0;
  // The library's registration number, -1 for none. One held while no
  // reception runs belongs to a registration whose deletion failed.
  int32_t m_nRcFilter = -1;
  // Whether the user's reception runs.
  bool m_bReceiving = false;

  // Queues one line; called on the library's thread. Holds the lock only to
  // append and never waits for the user-interface thread, which may be
  // inside DelFilter at this moment, waiting for this very callback.
  void Deliver(const std::string& line);
  // The lines queued so far, in order, each ending in '\n'; user-interface
  // thread only, valid until the next call.
  const std::string& TakeLines();

 private:
  std::function<void()> serve_;
  // One buffer, so a flood of codes costs a few bytes a line while it waits.
  std::mutex mutex_;
  std::string queue_;
  bool postPending_ = false;
  // The user-interface thread's batch; swapped with the queue, so the two
  // buffers keep their capacity and a flood does not reallocate at every turn.
  std::string batch_;
};
