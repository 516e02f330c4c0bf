// The headless window with a hook of the test's own, as tests of the program
// use it: what the program reads is reported, boxes, file dialogs and other
// dialogs are answered by the hook, list changes are told to it.
#include <gtest/gtest.h>

#include "framework/dialog_life.h"
#include "hosts/headless/headless_window.h"
#include "tests/headless/test_dialog.h"

namespace headless_test {
namespace {

struct RecordingHook : headless::WindowHook {
  std::vector<std::string> seen;
  void Read(const headless::ControlState& c) override { Note("read", c); }
  void Written(const headless::ControlState& c) override { Note("wrote", c); }
  void Appended(const headless::ControlState& c, std::span<const std::string> texts) override {
    Note("appended " + std::to_string(texts.size()) + " to", c);
  }
  void Cleared(const headless::ControlState& c) override { Note("cleared", c); }
  int MessageBox(const std::string& text, const std::string& caption, fw::BoxIcon) override {
    seen.push_back("box " + caption + " | " + text);
    return fw::kIdOk;
  }
  std::optional<std::string> FileDialog(const fw::FileDialogRequest& r) override {
    seen.push_back("file " + r.defaultName);
    return "/tmp/x.log";
  }
  int RunChild(fw::Dialog& child) override {
    seen.push_back("child " + child.Template().caption);
    return fw::kIdCancel;
  }
  void Note(const std::string& what, const headless::ControlState& c) {
    seen.push_back(what + " " + std::to_string(c.id));
  }
};

// Guards reads that go unreported (a test of the data exchange's order would
// pass on a window that is never read), and answers taken from elsewhere.
TEST(WindowHook, HearsReadsWritesListChangesAndAnswersForTheUser) {
  const fw::DialogTemplate t = MakeTemplate();
  TestDialog dialog(t);
  TestDialog child(t);
  RecordingHook hook;
  headless::HeadlessWindow window(dialog, hook);
  fw::SeedTemplateEntries(t, window);  // the combo's three entries
  dialog.AttachWindow(&window);
  dialog.GetDlgItemText(kTextEdit);
  dialog.IsDlgButtonChecked(kCheck);
  window.GetCurSel(kCombo);
  window.GetCount(kCombo);  // not a value a data exchange reads
  dialog.SetDlgItemText(kTextEdit, "x");
  window.SetCurSel(kCombo, 1);
  window.AddStrings(kList, {"a", "b"});
  window.ResetContent(kList);
  EXPECT_EQ(dialog.MessageBox("text", "Error", fw::BoxIcon::Stop), fw::kIdOk);
  EXPECT_EQ(dialog.FileDialog({true, "QuorvexDemo.log", "log", "", ""}), "/tmp/x.log");
  EXPECT_EQ(window.RunModal(child), fw::kIdCancel);
  dialog.AttachWindow(nullptr);
  EXPECT_EQ(hook.seen,
            (std::vector<std::string>{"appended 3 to 200", "read 401", "read 100", "read 200",
                                      "wrote 401", "wrote 200", "appended 2 to 300", "cleared 300",
                                      "box Error | text", "file QuorvexDemo.log", "child Test"}));
  EXPECT_EQ(window.Find(kCombo)->list.Text(1), "one");
}

}  // namespace
}  // namespace headless_test
