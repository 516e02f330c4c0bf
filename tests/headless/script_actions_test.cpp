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

TEST(ScriptErrors, EndTheRunWithAnErrorLineNamingTheLine) {
  const BadScript cases[] = {
      {"clik 1", "error: line 1: unknown action \"clik\""},
      {"close\nclik 1", "error: line 2: unknown action \"clik\""},  // read before the run
      {std::string("type 401 a\0b", 12), "error: line 1: a NUL byte is not allowed in a line"},
      {"# comment\n\n  click", "error: line 3: usage: click ID"},
      {"click 1 2", "error: line 1: usage: click ID"},
      {"click abc", "error: line 1: control id \"abc\" is not a number"},
      {"click 99999999999", "error: line 1: control id \"99999999999\" is out of range"},
      {"click 4242", "error: line 1: no control with id 4242"},
      {"show -1", "error: line 1: no control with id -1"},
      {"click 401", "error: line 1: click needs a button, but control 401 is an edit"},
      {"select 300 0", "error: line 1: select needs a drop-down list"},
      {"type 200 x", "error: line 1: type needs an edit"},
      {"type", "error: line 1: usage: type ID TEXT"},
      {"dblclick 200", "error: line 1: dblclick needs a list box"},
      {"select 200 3", "error: line 1: index 3 is out of range for control 200"},
      {"select 200 -2", "error: line 1: index -2 is out of range"},
      {"select 200", "error: line 1: usage: select ID INDEX"},
      {"item 200 3", "error: line 1: index 3 is out of range"},
      {"item 200 -1", "error: line 1: index -1 is out of range"},
      {"item 401 0", "error: line 1: item needs a list"},
      {"sysmenu close", "error: line 1: usage: sysmenu about"},
      {"key tab", "error: line 1: usage: key enter | key escape"},
      {"answer maybe", "error: line 1: usage: answer file PATH | answer cancel"},
      {"answer file", "error: line 1: usage: answer file PATH"},
      {"answer cancel now", "error: line 1: usage: answer file PATH | answer cancel"},
      {"wait -5", "error: line 1: wait needs a number of milliseconds of 0 or more"},
      {"wait 1.5", "error: line 1: milliseconds \"1.5\" is not a number"},
      {"timer -3", "error: line 1: timer id \"-3\" must not be negative"},
      {"close now", "error: line 1: usage: close"},
      {"sysmenu about", "error: line 1: the window's system menu has no About entry"},
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

TEST(Click, TogglesCheckBoxesAndMovesTheRadioWithinItsGroup) {
  const fw::DialogTemplate t = MakeTemplate();
  TestDialog dialog(t);
  dialog.onInit = [](TestDialog& d) {
    d.CheckDlgButton(kRadioA, 1);
    d.CheckDlgButton(kOtherRadio, 1);
    d.CheckDlgButton(kCheck, 2);  // indeterminate: a click checks it
  };
  const Outcome o = RunScript(dialog,
                              "click 100\nshow 100\nclick 100\nshow 100\n"
                              "click 112\nshow 110\nshow 112\nshow 120\nclick 1\n");
  EXPECT_EQ(o.transcript,
            "control 100: enabled=1 check=1 sel=-1 count=0 text=Check\n"
            "control 100: enabled=1 check=0 sel=-1 count=0 text=Check\n"
            "control 110: enabled=1 check=0 sel=-1 count=0 text=A\n"
            "control 112: enabled=1 check=1 sel=-1 count=0 text=C\n"
            "control 120: enabled=1 check=1 sel=-1 count=0 text=Other\n"
            "ended: ok\n");
  EXPECT_EQ(dialog.received,
            (std::vector<std::string>{"clicked 100", "clicked 100", "clicked 112", "clicked 1"}));
}

TEST(DisabledControls, IgnoreTheActionAndTellWhy) {
  const fw::DialogTemplate t = MakeTemplate();
  TestDialog dialog(t);
  dialog.onInit = [](TestDialog& d) {
    for (int id : {kCheck, kCombo, kList, kTextEdit}) d.EnableItem(id, false);
  };
  const Outcome o =
      RunScript(dialog,
                "click 500\n  click 100 \nselect 200 1\ndblclick 300\ntype 401 hello\n"
                "show 100\nshow 200\nshow 401\n");
  EXPECT_EQ(o.transcript,
            "ignored: click 500 (control 500 is disabled)\n"
            "ignored: click 100 (control 100 is disabled)\n"
            "ignored: select 200 1 (control 200 is disabled)\n"
            "ignored: dblclick 300 (control 300 is disabled)\n"
            "ignored: type 401 hello (control 401 is disabled)\n"
            "control 100: enabled=0 check=0 sel=-1 count=0 text=Check\n"
            "control 200: enabled=0 check=0 sel=-1 count=3 text=\n"
            "control 401: enabled=0 check=0 sel=-1 count=0 text=\n"
            "ended: cancel\n");
  EXPECT_EQ(dialog.received, std::vector<std::string>{"close"});
}

TEST(SelectAndDoubleClick, ChangeTheSelectionAndNotify) {
  const fw::DialogTemplate t = MakeTemplate();
  TestDialog dialog(t);
  int seenInHandler = -2;
  dialog.onMessage = [&](TestDialog& d, const fw::Message& m) {
    if (m.code == fw::Notify::SelChange) seenInHandler = d.Window().GetCurSel(kCombo);
  };
  const Outcome o =
      RunScript(dialog, "select 200 2\nshow 200\nselect 200 -1\nshow 200\ndblclick 300\n");
  EXPECT_EQ(o.transcript,
            "control 200: enabled=1 check=0 sel=2 count=3 text=two\n"
            "control 200: enabled=1 check=0 sel=-1 count=3 text=\n"
            "ended: cancel\n");
  EXPECT_EQ(seenInHandler, -1);
  EXPECT_EQ(dialog.received,
            (std::vector<std::string>{"selchange 200", "selchange 200", "dblclick 300", "close"}));
}

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

TEST(ShowAndItem, PrintControlStateAndEntries) {
  const fw::DialogTemplate t = MakeTemplate();
  TestDialog dialog(t);
  dialog.onInit = [](TestDialog& d) {
    fw::DialogWindow& w = d.Window();
    w.SetItemData(kCombo, 1, 0xFFFFFFFFu);
    w.AddString(kList, "first");
    w.SetCurSel(kList, 0);
    w.SetText(kTextEdit, "a | b");
  };
  const Outcome o = RunScript(
      dialog, "item 200 1\nitem 200 0\nshow 300\nitem 300 0\nshow 401\nshow 1\nshow 400\n");
  EXPECT_EQ(o.transcript,
            "log: first\n"
            "item 200[1]: data=4294967295 text=one\n"
            "item 200[0]: data=0 text=zero\n"
            "control 300: enabled=1 check=0 sel=0 count=1 text=first\n"
            "item 300[0]: data=0 text=first\n"
            "control 401: enabled=1 check=0 sel=-1 count=0 text=a | b\n"
            "control 1: enabled=1 check=0 sel=-1 count=0 text=OK\n"
            "control 400: enabled=1 check=0 sel=-1 count=0 text=5\n"
            "ended: cancel\n");
}

TEST(SystemMenuAndKeys, ReachTheDialogAsTheWindowWouldSendThem) {
  const fw::DialogTemplate t = MakeTemplate();
  TestDialog dialog(t);
  dialog.onInit = [](TestDialog& d) {
    EXPECT_TRUE(d.Window().AppendSystemMenu(0x10, "&About QuorvexDemo..."));
  };
  const Outcome o = RunScript(dialog, "sysmenu about\ntimer 7\nkey escape\n");
  EXPECT_EQ(o.transcript, "ended: cancel\n");
  EXPECT_EQ(dialog.received, (std::vector<std::string>{"syscommand 16", "timer 7", "clicked 2"}));

  // Without a system menu there is nowhere to append the entry.
  const fw::DialogTemplate plain = MakeTemplate(fw::kDlgCaption);
  TestDialog noMenu(plain);
  bool appended = true;
  noMenu.onInit = [&](TestDialog& d) { appended = d.Window().AppendSystemMenu(0x10, "About"); };
  const Outcome o2 = RunScript(noMenu, "sysmenu about\n");
  EXPECT_FALSE(appended);
  EXPECT_TRUE(o2.scriptError);
}

}  // namespace
}  // namespace headless_test
