// Reads decoded remote-control codes from a lirc device in scancode mode, or
// from its input event device, on a library thread, and hands each code that
// passes the device filter to the program's callback.
#ifndef QUORVEX_LINUXDVB_RC_PUMP_H
#define QUORVEX_LINUXDVB_RC_PUMP_H

#include <cstdint>
#include <functional>
#include <string>

#include "rc_codes.h"
#include "reader_thread.h"

namespace ldvb {

enum class RcSource { Lirc, InputEvents };

class RcPump {
 public:
  /* Receives a code pointer and a byte count (RAW) or code kind 2 (RC-5 word). */
  using Deliver = std::function<void(const void* code, uint32_t countOrKind)>;

  /* Starts reading fd (owned by the caller, open until Stop()). For input events,
     inputProtocol is the protocol the device decodes (events carry none). */
  bool Start(int fd, RcSource source, uint32_t inputProtocol, RcType type, uint32_t deviceFilter,
             Deliver deliver);
  /* Stops and joins the thread: no delivery follows. */
  void Stop() { thread_.Stop(); }
  /* Why the reading ended by itself; empty when Stop() ended it. After Stop(). */
  const std::string& Ended() const { return thread_.Ended(); }

  /* Hands one decoded code on, if the type and filter let it through. Public for the tests. */
  void OnCode(const Scancode& code);
  /* One read's worth of handling: kGoOn, kEndOfData or the errno that ends the
     reading. Public for the tests. */
  int OnReadable(int fd);

 private:
  RcSource source_ = RcSource::Lirc;
  uint32_t inputProtocol_ = 0;
  RcType type_ = RcType::Raw;
  uint32_t deviceFilter_ = 0xFFFF;
  Deliver deliver_;
  ReaderThread thread_;
};

}  // namespace ldvb

#endif
