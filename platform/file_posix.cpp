#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file.h"

namespace platform {

FileHandle CreateFile(const std::string& path, Access access, Share /*share*/,
                      Disposition disposition) {
  // POSIX has no share modes: others can always read, which is what the
  // program asks for everywhere.
  int flags = access == Access::Write ? O_WRONLY : O_RDONLY;
  if (disposition == Disposition::CreateAlways) flags |= O_CREAT | O_TRUNC;
  flags |= O_CLOEXEC;
  int fd;
  do {
    fd = ::open(path.c_str(), flags, 0644);
  } while (fd < 0 && errno == EINTR);
  return fd < 0 ? kInvalidFile : static_cast<FileHandle>(fd);
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
