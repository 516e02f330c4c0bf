#include "hosts/headless/transcript.h"

namespace headless {

void Transcript::Line(std::string_view text) {
  std::string line;
  line.reserve(text.size() + 1);
  for (char c : text) {
    if (c == '\n') {
      line += "\\n";
    } else if (c == '\r') {
      line += "\\r";
    } else {
      line += c;
    }
  }
  line += '\n';
  out_ << line << std::flush;
}

}  // namespace headless
