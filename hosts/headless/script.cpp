#include "hosts/headless/script.h"

#include <charconv>
#include <vector>

#include "res/control_names.h"

namespace headless {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// Splits off the first word of rest; rest keeps what follows that word,
// starting at the single blank after it (if any).
std::string_view NextWord(std::string_view& rest) {
  size_t start = 0;
  while (start < rest.size() && IsBlank(rest[start])) ++start;
  size_t end = start;
  while (end < rest.size() && !IsBlank(rest[end])) ++end;
  std::string_view word = rest.substr(start, end - start);
  rest.remove_prefix(end);
  return word;
}

std::vector<std::string_view> Words(std::string_view rest) {
  std::vector<std::string_view> words;
  for (std::string_view w = NextWord(rest); !w.empty(); w = NextWord(rest)) words.push_back(w);
  return words;
}

// Text after the single blank that ends the previous word; may be empty.
std::string RestOfLine(std::string_view rest) {
  if (!rest.empty()) rest.remove_prefix(1);
  return std::string(rest);
}

template <class T>
T Number(std::string_view word, std::string_view what) {
  T value{};
  const char* first = word.data();
  const char* last = word.data() + word.size();
  auto [end, ec] = std::from_chars(first, last, value);
  if (ec == std::errc::result_out_of_range) {
    throw SyntaxError(std::string(what) + " \"" + std::string(word) + "\" is out of range");
  }
  if (ec != std::errc() || end != last) {
    throw SyntaxError(std::string(what) + " \"" + std::string(word) + "\" is not a number");
  }
  return value;
}

// A control by its number, or by its IDC_ name from the program's resource ids.
int ControlId(std::string_view word) {
  if (word.starts_with("IDC_")) {
    if (const std::optional<int> id = res::ControlIdByName(word)) return *id;
    throw SyntaxError("unknown control name \"" + std::string(word) + "\"");
  }
  return Number<int>(word, "control id");
}

bool IsDigits(std::string_view word) {
  return !word.empty() && word.find_first_not_of("0123456789") == std::string_view::npos;
}

void ExpectCount(const std::vector<std::string_view>& args, size_t count, const char* usage) {
  if (args.size() != count) throw SyntaxError(std::string("usage: ") + usage);
}

}  // namespace

std::optional<std::string> ReadScriptLine(std::istream& in) {
  std::streambuf* buf = in.rdbuf();
  if (buf == nullptr) return std::nullopt;
  std::string line;
  for (;;) {
    const int c = buf->sbumpc();
    if (c == std::char_traits<char>::eof()) break;
    if (c == '\n') return line;
    if (c == '\0') throw SyntaxError("a NUL byte is not allowed in a line");
    if (line.size() == kMaxLineBytes) {
      throw SyntaxError("a line is limited to " + std::to_string(kMaxLineBytes) + " bytes");
    }
    line += static_cast<char>(c);
  }
  if (line.empty()) return std::nullopt;
  return line;
}

std::string_view Trim(std::string_view line) {
  while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
  while (!line.empty() && IsBlank(line.back())) line.remove_suffix(1);
  return line;
}

bool IsSkipped(std::string_view trimmedLine) {
  return trimmedLine.empty() || trimmedLine.front() == '#';
}

Action ParseAction(std::string_view trimmedLine) {
  Action a;
  a.line = std::string(trimmedLine);
  std::string_view rest = trimmedLine;
  const std::string_view verb = NextWord(rest);

  if (verb == "type") {
    // The text is everything after the one blank that follows the id, so a
    // script can type leading blanks or clear the edit.
    const std::string_view id = NextWord(rest);
    if (id.empty()) throw SyntaxError("usage: type ID TEXT");
    a.verb = Verb::Type;
    a.id = ControlId(id);
    a.text = RestOfLine(rest);
    return a;
  }
  if (verb == "answer") {
    const std::string_view kind = NextWord(rest);
    if (kind == "file") {
      a.verb = Verb::AnswerFile;
      a.text = RestOfLine(rest);
      if (Trim(a.text).empty()) throw SyntaxError("usage: answer file PATH (the path is missing)");
      return a;
    }
    if (kind == "cancel" && Words(rest).empty()) {
      a.verb = Verb::AnswerCancel;
      return a;
    }
    throw SyntaxError("usage: answer file PATH | answer cancel");
  }
  if (verb == "save-signal" || verb == "sweep") {
    a.verb = verb == "sweep" ? Verb::Sweep : Verb::SaveSignal;
    a.text = RestOfLine(rest);
    if (Trim(a.text).empty()) {
      throw SyntaxError(verb == "sweep" ? "usage: sweep FILE" : "usage: save-signal PATH");
    }
    return a;
  }

  const std::vector<std::string_view> args = Words(rest);
  if (verb == "click" || verb == "dblclick" || verb == "show") {
    ExpectCount(args, 1,
                verb == "click"      ? "click ID"
                : verb == "dblclick" ? "dblclick ID"
                                     : "show ID");
    a.verb = verb == "click" ? Verb::Click : verb == "dblclick" ? Verb::DoubleClick : Verb::Show;
    a.id = ControlId(args[0]);
  } else if (verb == "select" || verb == "item") {
    ExpectCount(args, 2, verb == "select" ? "select ID INDEX" : "item ID INDEX");
    a.verb = verb == "select" ? Verb::Select : Verb::Item;
    a.id = ControlId(args[0]);
    a.number = Number<int>(args[1], "index");
  } else if (verb == "wait") {
    ExpectCount(args, 1, "wait MS");
    a.verb = Verb::Wait;
    // A number past the 64-bit range is past the limit too, and says so.
    const bool negative = !args[0].empty() && args[0].front() == '-';
    try {
      a.number = Number<int64_t>(args[0], "milliseconds");
    } catch (const SyntaxError&) {
      if (!IsDigits(args[0].substr(negative ? 1 : 0))) throw;
      a.number = negative ? -1 : kMaxWaitMs + 1;
    }
    if (a.number < 0) throw SyntaxError("wait needs a number of milliseconds of 0 or more");
    if (a.number > kMaxWaitMs) {
      throw SyntaxError("wait is limited to " + std::to_string(kMaxWaitMs) + " ms (a day)");
    }
  } else if (verb == "timer") {
    ExpectCount(args, 1, "timer ID");
    a.verb = Verb::Timer;
    if (!args[0].empty() && args[0].front() == '-') {
      throw SyntaxError("timer id \"" + std::string(args[0]) + "\" must not be negative");
    }
    a.timerId = Number<uintptr_t>(args[0], "timer id");
  } else if (verb == "sysmenu") {
    if (args.size() != 1 || args[0] != "about") throw SyntaxError("usage: sysmenu about");
    a.verb = Verb::SysMenuAbout;
  } else if (verb == "key") {
    if (args.size() != 1 || (args[0] != "enter" && args[0] != "escape")) {
      throw SyntaxError("usage: key enter | key escape");
    }
    a.verb = args[0] == "enter" ? Verb::KeyEnter : Verb::KeyEscape;
  } else if (verb == "show-stream") {
    ExpectCount(args, 0, "show-stream");
    a.verb = Verb::ShowStream;
  } else if (verb == "close") {
    ExpectCount(args, 0, "close");
    a.verb = Verb::Close;
  } else {
    throw SyntaxError("unknown action \"" + std::string(verb) + "\"");
  }
  return a;
}

}  // namespace headless
