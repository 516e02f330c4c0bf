// The transcript: what a user would have seen, one event a line. Tools diff
// it, so each line is written whole and flushed at once (a crash or a hung
// card still leaves everything up to that point on disk).
#pragma once

#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace headless {

class Transcript {
 public:
  explicit Transcript(std::ostream& out) : out_(out) {}

  // Writes one line. Line breaks inside the text are written as \n and \r, so
  // a message with several lines can never pass for other transcript lines.
  void Line(std::string_view text);
  // Writes `prefix` and each text as Line does, with one flush for all.
  void Lines(std::string_view prefix, std::span<const std::string> texts);

 private:
  void Write(std::string_view prefix, std::string_view text);

  std::ostream& out_;
  std::string line_;  // kept, so a line costs no allocation
};

}  // namespace headless
