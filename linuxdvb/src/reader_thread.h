// A library thread that waits on one file descriptor and hands each readable
// moment to a handler, until it is stopped or the descriptor ends. Stop()
// wakes the thread through an event descriptor and joins it, so no handler
// runs after Stop() returns.
#ifndef QUORVEX_LINUXDVB_READER_THREAD_H
#define QUORVEX_LINUXDVB_READER_THREAD_H

#include <functional>
#include <string>
#include <thread>

namespace ldvb {

/* A handler's answers besides an errno that ends the reading. */
constexpr int kGoOn = 0;        // the moment was handled; wait for the next one
constexpr int kEndOfData = -1;  // a read returned 0 bytes

class ReaderThread {
 public:
  /* Called when fd is readable; returns kGoOn, kEndOfData, or the errno of a read that
     failed for good. */
  using Handler = std::function<int(int fd)>;

  ReaderThread() = default;
  ~ReaderThread();
  ReaderThread(const ReaderThread&) = delete;
  ReaderThread& operator=(const ReaderThread&) = delete;

  /* Starts waiting on fd (owned by the caller, who closes it after Stop()); false on
     failure. When the reading ends by itself (end of data, a failed read, a hang-up, an
     error the descriptor reports without data), the thread ends and fd is pointed at
     /dev/null: the device's file is released at once, the number stays the caller's. */
  bool Start(int fd, Handler handler);
  /* Wakes and joins the thread; safe to call twice. Not from the handler itself. */
  void Stop();
  /* Why the reading ended by itself ("POLLHUP", "read failed: No such device", ...);
     empty when Stop() ended it. Read it after Stop(). */
  const std::string& Ended() const { return ended_; }

 private:
  void Run();
  /* Ends the reading for `why`; releases the device's file unless fd is not open. */
  void End(std::string why, bool release);

  int fd_ = -1;
  int wake_ = -1;
  Handler handler_;
  std::string ended_;
  std::thread thread_;
};

}  // namespace ldvb

#endif
