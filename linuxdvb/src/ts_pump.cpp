#include "ts_pump.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace ldvb {

bool TsPump::Start(int fd, Deliver deliver) {
  deliver_ = std::move(deliver);
  buffer_.assign(kTsReadBytes, 0);
  held_ = 0;
  return thread_.Start(fd, [this](int f) { return OnReadable(f); });
}

int TsPump::OnReadable(int fd) {
  const ssize_t n = read(fd, buffer_.data() + held_, buffer_.size() - held_);
  if (n < 0) {
    // EOVERFLOW: the kernel's buffer overran and packets were lost; the
    // stream goes on, and the gap shows in the continuity counters.
    if (errno == EAGAIN || errno == EINTR || errno == EOVERFLOW) return kGoOn;
    return errno;
  }
  if (n == 0) return kEndOfData;
  const size_t total = held_ + static_cast<size_t>(n);
  const size_t whole = total - total % 188;
  if (whole > 0) deliver_(buffer_.data(), static_cast<uint32_t>(whole));
  held_ = total - whole;
  if (held_ > 0) std::memmove(buffer_.data(), buffer_.data() + whole, held_);
  return kGoOn;
}

}  // namespace ldvb
