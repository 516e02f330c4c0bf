// The headless host's script language: one user action per line. Parsing only
// checks the shape of a line (a control named IDC_... becomes its id here);
// whether its control exists and is of the right kind is up to the host, which
// knows the open window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <optional>
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
  ShowStream,
  Sweep,
};

struct Action {
  Verb verb = Verb::Close;
  std::string line;    // the line as written, trimmed (quoted by "ignored:")
  int id = 0;          // control id (given by number or by IDC_ name)
  int64_t number = 0;  // select/item: index; wait: milliseconds
  uintptr_t timerId = 0;
  std::string text;  // type: the new text; answer file, save-signal, sweep: the path
};

// A line the script language cannot express; the message has no line number.
class SyntaxError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The longest wait a script may ask for (one day): keeps deadline arithmetic
// far from overflow.
inline constexpr int64_t kMaxWaitMs = 24LL * 60 * 60 * 1000;

// The longest line a script may have: room for any path or typed text, and a
// bound on what a script that never ends its line (a device, a broken pipe
// feeder) can make the host hold.
inline constexpr size_t kMaxLineBytes = size_t{1} << 20;

// The next line of a script without its '\n', read as its bytes arrive (a
// script on a pipe is acted on line by line); nothing at the end of the input.
// A last line without '\n' is a line. Other bytes, invalid UTF-8 and control
// characters included, are the line's own. Throws SyntaxError as soon as a
// NUL byte arrives (a path or a typed text would end there) or the line grows
// past kMaxLineBytes, without reading further.
std::optional<std::string> ReadScriptLine(std::istream& in);

// Removes blanks (spaces, tabs, and the carriage return of CRLF scripts)
// around a line.
std::string_view Trim(std::string_view line);

// Whether a trimmed line carries no action (empty or a comment).
bool IsSkipped(std::string_view trimmedLine);

// Parses one trimmed, non-skipped line. Throws SyntaxError.
Action ParseAction(std::string_view trimmedLine);

}  // namespace headless
