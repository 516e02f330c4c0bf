#include "reader_thread.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

namespace ldvb {
namespace {

std::string ErrnoText(int error) {
  return std::error_code(error, std::generic_category()).message();
}

}  // namespace

ReaderThread::~ReaderThread() { Stop(); }

bool ReaderThread::Start(int fd, Handler handler) {
  if (thread_.joinable()) return false;
  wake_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (wake_ < 0) return false;
  fd_ = fd;
  handler_ = std::move(handler);
  ended_.clear();
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
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return End("poll failed: " + ErrnoText(errno), true);
    }
    if (fds[0].revents != 0) return;
    const short revents = fds[1].revents;
    if (revents & POLLNVAL) return End("POLLNVAL", false);
    // Data first, also beside a hang-up: what came before the end is delivered. A
    // demux reports a buffer overflow as POLLERR with POLLIN; the handler's read
    // clears it.
    if (revents & (POLLIN | POLLPRI)) {
      const int why = handler_(fd_);
      if (why == kEndOfData) return End("end of data", true);
      if (why != kGoOn) return End("read failed: " + ErrnoText(why), true);
    } else if (revents & POLLHUP) {
      return End("POLLHUP", true);
    } else if (revents & POLLERR) {
      // The dvb core's demux and dvr answer every poll with POLLERR alone once their
      // device is removed, while a read still finds nothing: going on would spin.
      return End("POLLERR without data", true);
    }
  }
}

void ReaderThread::End(std::string why, bool release) {
  ended_ = std::move(why);
  if (!release) return;
  // The kernel's removal of a card waits until every demux descriptor is closed, so
  // the device's file is let go now; the number stays open (on /dev/null) until the
  // caller closes it, so no other open can be handed it meanwhile.
  const int null = open("/dev/null", O_RDONLY | O_CLOEXEC);
  if (null < 0) return;
  dup3(null, fd_, O_CLOEXEC);
  close(null);
}

}  // namespace ldvb
