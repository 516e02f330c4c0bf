#include "reader_thread.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

namespace ldvb {

ReaderThread::~ReaderThread() { Stop(); }

bool ReaderThread::Start(int fd, Handler handler) {
  if (thread_.joinable()) return false;
  wake_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (wake_ < 0) return false;
  fd_ = fd;
  handler_ = std::move(handler);
  try {
    thread_ = std::thread(&ReaderThread::Run, this);
  } catch (const std::system_error&) {
    close(wake_);
    wake_ = -1;
    return false;
  }
  return true;
}

void ReaderThread::Stop() {
  if (thread_.joinable()) {
    const uint64_t one = 1;
    // An eventfd write only fails when the counter would overflow.
    ssize_t ignored = write(wake_, &one, sizeof one);
    (void)ignored;
    thread_.join();
  }
  if (wake_ >= 0) {
    close(wake_);
    wake_ = -1;
  }
}

void ReaderThread::Run() {
  for (;;) {
    pollfd fds[2] = {{wake_, POLLIN, 0}, {fd_, POLLIN, 0}};
    const int n = poll(fds, 2, -1);
    if (n < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[0].revents != 0) return;
    if (fds[1].revents & (POLLIN | POLLPRI)) {
      if (!handler_(fd_)) return;
    } else if (fds[1].revents & (POLLERR | POLLHUP | POLLNVAL)) {
      // A demux reports a buffer overflow as POLLERR; the handler's read
      // clears it. A hang-up or a closed descriptor ends the thread.
      if ((fds[1].revents & (POLLHUP | POLLNVAL)) || !handler_(fd_)) return;
    }
  }
}

}  // namespace ldvb
