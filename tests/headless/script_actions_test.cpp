// The script as the user: what each action does to the controls, what the
// dialog hears, and how wrong scripts are refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <streambuf>
#include <vector>

#include "tests/headless/test_dialog.h"

namespace headless_test {
namespace {

struct BadScript {
  std::string script;
  std::string errorPrefix;  // the error line starts with this
};

// Guards a wrong line number, an index or id bound off by one, and a bad
// script half run before it is refused.
TEST(ScriptErrors, EndTheRunWithAnErrorLineNamingTheLine) {
  const BadScript cases[] = {
      {"close\nclik 1", "error: line 2: unknown action \"clik\""},  // read before the run
      {std::string("type 401 a\0b", 12), "error: line 1: a NUL byte is not allowed in a line"},
      {"# comment\n\n  click", "error: line 3: usage: click ID"},
      {"click 99999999999", "error: line 1: control id \"99999999999\" is out of range"},
      {"click 4242", "error: line 1: no control with id 4242"},
      {"click IDC_NO_SUCH", "error: line 1: unknown control name \"IDC_NO_SUCH\""},
      {"type IDC_edit_freq 1", "error: line 1: unknown control name \"IDC_edit_freq\""},
      {"click 401", "error: line 1: click needs a button, but control 401 is an edit"},
      {"select 200 3", "error: line 1: index 3 is out of range for control 200"},
      {"select 200 -2", "error: line 1: index -2 is out of range"},
      {"item 200 3", "error: line 1: index 3 is out of range"},
      {"wait -5", "error: line 1: wait needs a number of milliseconds of 0 or more"},
      {"sysmenu about", "error: line 1: the window's system menu has no About entry"},
      {"save-signal  ", "error: line 1: usage: save-signal PATH"},
      {"save-signal x.csv", "error: line 1: this program keeps no signal history"},
      {"wait 86400001", "error: line 1: wait is limited to 86400000 ms (a day)"},
      {"wait 99999999999999999999", "error: line 1: wait is limited to 86400000 ms (a day)"},
      {"wait -99999999999999999999", "error: line 1: wait needs a number of milliseconds of 0"},
      {"wait 1e3", "error: line 1: milliseconds \"1e3\" is not a number"},
      {"close\n" + std::string(headless::kMaxLineBytes + 1, '#'),
       "error: line 2: a line is limited to 1048576 bytes"},
  };
  const fw::DialogTemplate t = MakeTemplate();
  for (const BadScript& c : cases) {
    SCOPED_TRACE(c.script);
    TestDialog dialog(t);
    const Outcome o = RunScript(dialog, c.script + "\nclose\n");
    EXPECT_TRUE(o.scriptError);
    EXPECT_EQ(LastLine(o.transcript).rfind(c.errorPrefix, 0), 0u) << o.transcript;
    EXPECT_EQ(o.transcript.find("ended:"), std::string::npos);
    EXPECT_FALSE(dialog.HasWindow());
  }
}

// Guards a run that reads past its end or hangs on a dialog that will not close.
TEST(ScriptRun, EndsWithTheDialogsResultAndClosesWhenTheScriptRunsOut) {
  const fw::DialogTemplate t = MakeTemplate();
  {
    TestDialog dialog(t);
    const Outcome o = RunScript(dialog, "  key enter  \nclick 4242\n");  // never read after the end
    EXPECT_EQ(o.transcript, "ended: ok\n");
    EXPECT_EQ(o.result, fw::kIdOk);
  }
  {
    TestDialog dialog(t);
    const Outcome o = RunScript(dialog, "# nothing but a comment\r\n");
    EXPECT_EQ(o.transcript, "ended: cancel\n");
    EXPECT_EQ(dialog.received, std::vector<std::string>{"close"});
  }
  {
    TestDialog dialog(t);
    dialog.onInit = [](TestDialog& d) { d.EndDialog(fw::kIdOk); };
    const Outcome o = RunScript(dialog, "# ok\n");  // a dialog that ends while starting
    EXPECT_EQ(o.transcript, "ended: ok\n");
  }
  {
    // A dialog that refuses to close would otherwise keep the run alive forever.
    TestDialog stubborn(t);
    stubborn.refuseClose = true;
    const Outcome o = RunScript(stubborn, "close\n");
    EXPECT_TRUE(o.scriptError);
    EXPECT_EQ(o.transcript, "error: end of script: the dialog did not close when asked to\n");
  }
}

// Guards typed text trimmed or split beyond the one separating blank.
TEST(Type, ReplacesTheTextAsGivenInEveryEdit) {
  struct Case {
    std::string line;
    int id;
    std::string text;
  };
  const Case cases[] = {
      {"type 400 12a3-4", kNumberEdit, "12a3-4"},  // the program's validation judges it
      {"type 400", kNumberEdit, ""},
      {"type 401 a  b ", kTextEdit, "a  b"},   // the line's trailing blanks are trimmed
      {"type 401  lead", kTextEdit, " lead"},  // only the one blank after the id separates
      {"type 401 -5 dB", kTextEdit, "-5 dB"},
  };
  const fw::DialogTemplate t = MakeTemplate();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    TestDialog dialog(t);
    std::string seen = "unset";
    dialog.onMessage = [&](TestDialog& d, const fw::Message& m) {
      if (m.kind == fw::MessageKind::Close) seen = d.GetDlgItemText(c.id);
    };
    const Outcome o = RunScript(dialog, c.line + "\n");
    EXPECT_EQ(seen, c.text);
    EXPECT_EQ(dialog.received, std::vector<std::string>{"close"});  // typing notifies nobody
  }
}

// Guards CRLF and editor marks reaching the program, bytes that are not
// UTF-8 lost, and a last line without its line end dropped.
TEST(ScriptInput, LineEndsMarksAndAnyBytesReadAsWritten) {
  const std::string longText(headless::kMaxLineBytes - 9, 'x');  // "type 401 " and the text
  const struct {
    std::string script, text;
  } cases[] = {
      {"type 401 a b\r\n\r\n# c\r\n", "a b"},
      {"type 401 last", "last"},
      {"\xEF\xBB\xBFtype 401 marked\n", "marked"},
      {"type 401 \xFF\xFE\xC3(\x01\x1B[2J\x7F\n", "\xFF\xFE\xC3(\x01\x1B[2J\x7F"},
      {"type 401 " + longText + "\n", longText},
  };
  const fw::DialogTemplate t = MakeTemplate();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script.substr(0, 40));
    TestDialog dialog(t);
    std::string seen = "unset";
    dialog.onMessage = [&](TestDialog& d, const fw::Message& m) {
      if (m.kind == fw::MessageKind::Close) seen = d.GetDlgItemText(kTextEdit);
    };
    const Outcome o = RunScript(dialog, c.script);
    EXPECT_FALSE(o.scriptError) << o.transcript;
    EXPECT_EQ(seen, c.text);
  }
}

// A script source that hands out its lines one read at a time, notes how much
// transcript there was each time the host asked for more, and then either
// ends or goes on with `tail` for ever, like a pipe whose writer never stops.
class Feed : public std::streambuf {
 public:
  Feed(std::vector<std::string> lines, std::string tail, const std::ostringstream& out)
      : lines_(std::move(lines)), tail_(std::move(tail)), out_(out) {}
  std::vector<size_t> transcriptLinesAtRead;
  size_t bytesRead = 0;

 protected:
  int_type underflow() override {
    if (next_ < lines_.size()) {
      const std::string text = out_.str();
      transcriptLinesAtRead.push_back(
          static_cast<size_t>(std::count(text.begin(), text.end(), '\n')));
      current_ = lines_[next_++];
    } else if (!tail_.empty()) {
      current_ = tail_;
    } else {
      return traits_type::eof();
    }
    bytesRead += current_.size();
    setg(current_.data(), current_.data(), current_.data() + current_.size());
    return traits_type::to_int_type(current_[0]);
  }

 private:
  std::vector<std::string> lines_;
  std::string tail_, current_;
  const std::ostringstream& out_;
  size_t next_ = 0;
};

// Guards a script on a pipe that is only acted on once the pipe ends (which
// may be never), and endless input held in memory.
TEST(ScriptInput, AScriptThatArrivesOverTimeIsActedOnLineByLine) {
  const fw::DialogTemplate t = MakeTemplate();
  {
    std::ostringstream out;
    Feed feed({"show 401\n", "# note\n", "show 401\n", "clik 1\n"}, "", out);
    std::istream in(&feed);
    TestDialog dialog(t);
    const Outcome o = RunScript(dialog, in, out, false);
    // Each line was read only after the one before had shown its answer.
    EXPECT_EQ(feed.transcriptLinesAtRead, (std::vector<size_t>{0, 1, 1, 2}));
    EXPECT_TRUE(o.scriptError);
    EXPECT_EQ(LastLine(o.transcript), "error: line 4: unknown action \"clik\"");
  }
  for (const std::string& endless : {std::string(4096, 'x'), std::string(4096, '\0')}) {
    // A line that never ends is refused once it is too long, or at its NUL.
    std::ostringstream out;
    Feed feed({}, endless, out);
    std::istream in(&feed);
    TestDialog dialog(t);
    const Outcome o = RunScript(dialog, in, out, false);
    EXPECT_TRUE(o.scriptError);
    EXPECT_EQ(LastLine(o.transcript).rfind("error: line 1: a ", 0), 0u) << LastLine(o.transcript);
    EXPECT_LE(feed.bytesRead, headless::kMaxLineBytes + 4096);
  }
}

}  // namespace
}  // namespace headless_test
