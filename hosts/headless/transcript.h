// The transcript: what a user would have seen, one event a line. Tools diff
// it, so each line is written whole and flushed at once (a crash or a hung
// card still leaves everything up to that point on disk).
#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace headless {

class Transcript {
 public:
  explicit Transcript(std::ostream& out) : out_(out) {}

  // Writes one line. Line breaks inside the text are written as \n and \r, so
  // a message with several lines can never pass for other transcript lines.
  void Line(std::string_view text);

 private:
  std::ostream& out_;
};

}  // namespace headless
