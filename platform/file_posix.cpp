#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file.h"

namespace platform {

namespace {

// Opens the way CreateFileA does on Windows, whatever the path names. A folder
// is never a file. Opening never waits for a FIFO's other end: a FIFO nobody
// reads cannot be opened for writing (ENXIO), like a file that cannot be
// created, so a click on a forgotten named pipe does not freeze the window.
// Once open, the descriptor blocks again, so a player reading the pipe gets
// every byte, and reading a FIFO nobody writes ends at once.
int OpenNoWait(const std::string& path, int flags, mode_t mode) {
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return -1;
  struct stat st {};
  const int status = ::fcntl(fd, F_GETFL);
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode) || status < 0 ||
      ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

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

std::FILE* CreateTextStream(const std::string& path) {
  // The permissions fopen gives a new file.
  const int fd = OpenNoWait(path, O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (fd < 0) return nullptr;
  std::FILE* stream = ::fdopen(fd, "w");
  if (stream == nullptr) ::close(fd);
  return stream;
}

bool WriteFile(FileHandle file, const void* data, uint32_t length, uint32_t& written) {
  // One call from the caller's view: keep writing until the kernel took the
  // whole buffer or refused, as a blocking WriteFile does.
  written = 0;
  const char* p = static_cast<const char*>(data);
  while (written < length) {
    const ssize_t n = ::write(static_cast<int>(file), p + written, length - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      return written > 0;
    }
    if (n == 0) break;
    written += static_cast<uint32_t>(n);
  }
  return true;
}

bool ReadFile(FileHandle file, void* data, uint32_t length, uint32_t& read) {
  read = 0;
  char* p = static_cast<char*>(data);
  while (read < length) {
    const ssize_t n = ::read(static_cast<int>(file), p + read, length - read);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) break;  // end of file
    read += static_cast<uint32_t>(n);
  }
  return true;
}

void CloseHandle(FileHandle file) {
  if (file != kInvalidFile) ::close(static_cast<int>(file));
}

}  // namespace platform
