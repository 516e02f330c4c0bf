// The headless host's script language: one user action per line. Parsing only
// checks the shape of a line; whether its control exists and is of the right
// kind is up to the host, which knows the open window.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace headless {

enum class Verb {
  Click,
  Select,
  Type,
  DoubleClick,
  AnswerFile,
  AnswerCancel,
  Wait,
  Timer,
  SysMenuAbout,
  KeyEnter,
  KeyEscape,
  Close,
  Show,
  Item,
  SaveSignal,
};

struct Action {
  Verb verb = Verb::Close;
  std::string line;    // the line as written, trimmed (quoted by "ignored:")
  int id = 0;          // control id
  int64_t number = 0;  // select/item: index; wait: milliseconds
  uintptr_t timerId = 0;
  std::string text;  // type: the new text; answer file, save-signal: the path
};

// A line the script language cannot express; the message has no line number.
class SyntaxError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The longest wait a script may ask for (one day): keeps deadline arithmetic
// far from overflow.
inline constexpr int64_t kMaxWaitMs = 24LL * 60 * 60 * 1000;

// Removes blanks (spaces, tabs, and the carriage return of CRLF scripts)
// around a line.
std::string_view Trim(std::string_view line);

// Whether a trimmed line carries no action (empty or a comment).
bool IsSkipped(std::string_view trimmedLine);

// Parses one trimmed, non-skipped line. Throws SyntaxError.
Action ParseAction(std::string_view trimmedLine);

}  // namespace headless
