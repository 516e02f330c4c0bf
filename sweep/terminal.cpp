#include "sweep/terminal.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

bool IsTerminal(std::FILE* f) {
#ifdef _WIN32
  return _isatty(_fileno(f)) != 0;
#else
  return isatty(fileno(f)) != 0;
#endif
}

// A line longer than the terminal wraps, and a carriage return then no
// longer reaches its start.
constexpr size_t kWidth = 79;

}  // namespace

ProgressLine::ProgressLine(std::FILE* out) : out_(out), terminal_(IsTerminal(out)) {}

void ProgressLine::Show(const std::string& text) {
  if (!terminal_) return;
  const std::string shown = text.substr(0, kWidth);
  std::string line = std::string(1, '\r').append(shown);
  if (shown.size() < shown_) line += std::string(shown_ - shown.size(), ' ') + "\r" + shown;
  std::fputs(line.c_str(), out_);
  std::fflush(out_);
  shown_ = shown.size();
}

void ProgressLine::Clear() {
  if (!terminal_ || shown_ == 0) return;
  std::string blank(shown_ + 2, ' ');
  blank.front() = blank.back() = '\r';
  std::fputs(blank.c_str(), out_);
  shown_ = 0;
}
