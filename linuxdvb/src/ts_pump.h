// Reads a transport stream from a demux descriptor on a library thread and
// hands whole 188-byte packets to the program's callback.
#ifndef QUORVEX_LINUXDVB_TS_PUMP_H
#define QUORVEX_LINUXDVB_TS_PUMP_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "reader_thread.h"

namespace ldvb {

/* Bytes of one read, at most: 512 packets. */
constexpr size_t kTsReadBytes = 188 * 512;

class TsPump {
 public:
  using Deliver = std::function<void(const uint8_t* data, uint32_t length)>;

  /* Starts reading fd (owned by the caller, open until Stop()); false on failure. */
  bool Start(int fd, Deliver deliver);
  /* Stops and joins the thread: no delivery follows. */
  void Stop() { thread_.Stop(); }
  /* Why the reading ended by itself; empty when Stop() ended it. After Stop(). */
  const std::string& Ended() const { return thread_.Ended(); }

  /* One read's worth of handling: kGoOn, kEndOfData or the errno that ends the
     reading. Public for the tests. */
  int OnReadable(int fd);

 private:
  Deliver deliver_;
  std::vector<uint8_t> buffer_;
  size_t held_ = 0;  // bytes of a packet split across reads
  ReaderThread thread_;
};

}  // namespace ldvb

#endif
