// A library thread that waits on one file descriptor and hands each readable
// moment to a handler, until it is stopped. Stop() wakes the thread through an
// event descriptor and joins it, so no handler runs after Stop() returns.
#ifndef QUORVEX_LINUXDVB_READER_THREAD_H
#define QUORVEX_LINUXDVB_READER_THREAD_H

#include <functional>
#include <thread>

namespace ldvb {

class ReaderThread {
 public:
  /* Called when fd is readable; returns false to end the thread (end of data, error). */
  using Handler = std::function<bool(int fd)>;

  ReaderThread() = default;
  ~ReaderThread();
  ReaderThread(const ReaderThread&) = delete;
  ReaderThread& operator=(const ReaderThread&) = delete;

  /* Starts waiting on fd (owned by the caller, open until Stop()); false on failure. */
  bool Start(int fd, Handler handler);
  /* Wakes and joins the thread; safe to call twice. Not from the handler itself. */
  void Stop();

 private:
  void Run();

  int fd_ = -1;
  int wake_ = -1;
  Handler handler_;
  std::thread thread_;
};

}  // namespace ldvb

#endif
