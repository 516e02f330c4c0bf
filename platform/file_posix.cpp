#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "platform/file.h"

namespace platform {

namespace {

// Opens the way CreateFileA does on Windows, whatever the path names. A folder
// is never a file. Opening never waits for a FIFO's other end: a FIFO nobody
// reads cannot be opened for writing (ENXIO), like a file that cannot be
// created, so a click on a forgotten named pipe does not freeze the window.
// A regular file blocks as usual; a pipe or device stays non-blocking, so
// that a reader or writer at its other end that stops cannot hold the
// program: writes and reads wait for it, but only kStallLimitMs at a time.
int OpenNoWait(const std::string& path, int flags, mode_t mode) {
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return -1;
  struct stat st {};
  const int status = ::fcntl(fd, F_GETFL);
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode) || status < 0 ||
      (S_ISREG(st.st_mode) && ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Waits until the descriptor can take (or give) a byte; false after
// `limitMs` without.
bool Ready(int fd, short events, unsigned limitMs) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(limitMs);
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    pollfd p{fd, events, 0};
    const int n = ::poll(&p, 1, left > 0 ? static_cast<int>(left) : 0);
    if (n > 0) return true;  // ready, or an error the next call reports
    if (n == 0 || errno != EINTR) return false;
  }
}

bool WouldBlock(int error) { return error == EAGAIN || error == EWOULDBLOCK; }

}  // namespace

FileHandle CreateFile(const std::string& path, Access access, Share /*share*/,
                      Disposition disposition) {
  // POSIX has no share modes: others can always read, which is what the
  // program asks for everywhere.
  int flags = access == Access::Write ? O_WRONLY : O_RDONLY;
  if (disposition == Disposition::CreateAlways) flags |= O_CREAT | O_TRUNC;
  const int fd = OpenNoWait(path, flags, 0644);
  return fd < 0 ? kInvalidFile : static_cast<FileHandle>(fd);
}

FileHandle CreateTextFile(const std::string& path) {
  // The permissions fopen gives a new file.
  const int fd = OpenNoWait(path, O_WRONLY | O_CREAT | O_TRUNC, 0666);
  return fd < 0 ? kInvalidFile : static_cast<FileHandle>(fd);
}

bool WriteFile(FileHandle file, const void* data, uint32_t length, uint32_t& written,
               unsigned stallMs) {
  // One call from the caller's view: keep writing until the kernel took the
  // whole buffer or refused, as a blocking WriteFile does.
  written = 0;
  const int fd = static_cast<int>(file);
  const char* p = static_cast<const char*>(data);
  while (written < length) {
    const ssize_t n = ::write(fd, p + written, length - written);
    if (n > 0) {
      written += static_cast<uint32_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    // A full pipe: its reader gets stallMs to take something.
    if (n < 0 && WouldBlock(errno) && Ready(fd, POLLOUT, stallMs)) continue;
    return written > 0;
  }
  return true;
}

bool WriteText(FileHandle file, const std::string& text) {
  uint32_t written = 0;
  return WriteFile(file, text.data(), static_cast<uint32_t>(text.size()), written) &&
         written == text.size();
}

bool ReadFile(FileHandle file, void* data, uint32_t length, uint32_t& read) {
  read = 0;
  const int fd = static_cast<int>(file);
  char* p = static_cast<char*>(data);
  while (read < length) {
    const ssize_t n = ::read(fd, p + read, length - read);
    if (n > 0) {
      read += static_cast<uint32_t>(n);
      continue;
    }
    if (n == 0) break;  // end of file
    if (errno == EINTR) continue;
    if (WouldBlock(errno) && Ready(fd, POLLIN, kStallLimitMs)) continue;
    return false;
  }
  return true;
}

void CloseHandle(FileHandle file) {
  if (file != kInvalidFile) ::close(static_cast<int>(file));
}

}  // namespace platform
