// The script as the user: what each action does to the controls, what the
// dialog hears, and how wrong scripts are refused.
#include <gtest/gtest.h>

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
      {"click 401", "error: line 1: click needs a button, but control 401 is an edit"},
      {"select 200 3", "error: line 1: index 3 is out of range for control 200"},
      {"select 200 -2", "error: line 1: index -2 is out of range"},
      {"item 200 3", "error: line 1: index 3 is out of range"},
      {"wait -5", "error: line 1: wait needs a number of milliseconds of 0 or more"},
      {"sysmenu about", "error: line 1: the window's system menu has no About entry"},
      {"save-signal  ", "error: line 1: usage: save-signal PATH"},
      {"save-signal x.csv", "error: line 1: this program keeps no signal history"},
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

}  // namespace
}  // namespace headless_test
