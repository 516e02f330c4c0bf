#include "hosts/headless/transcript.h"

namespace headless {

void Transcript::Line(std::string_view text) {
  Write({}, text);
  out_ << std::flush;
}

void Transcript::Lines(std::string_view prefix, std::span<const std::string> texts) {
  for (const std::string& text : texts) Write(prefix, text);
  out_ << std::flush;
}

void Transcript::Write(std::string_view prefix, std::string_view text) {
  line_.assign(prefix);
  for (size_t start = 0;;) {
    const size_t end = text.find_first_of("\n\r", start);
    line_.append(text.substr(start, end - start));
    if (end == std::string_view::npos) break;
    line_ += text[end] == '\n' ? "\\n" : "\\r";
    start = end + 1;
  }
  line_ += '\n';
  out_ << line_;
}

}  // namespace headless
