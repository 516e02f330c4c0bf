// What the program relies on from every window, checked against each host's
// window with the same inputs: a test binary instantiates the suite with a
// runner that opens a dialog on its host and hands over the window:
//   struct Runner { static void Run(fw::Dialog&); };  // runs it modally
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "framework/dialog.h"
#include "res/dialogs.h"
#include "res/resource_ids.h"

namespace contract {

// The main dialog's template; the checks run while it starts, then it ends.
class ProbeDialog : public fw::Dialog {
 public:
  explicit ProbeDialog(std::function<void(fw::DialogWindow&)> checks)
      : fw::Dialog(res::MainDialogTemplate()), checks_(std::move(checks)) {}

 protected:
  bool OnInitDialog() override {
    checks_(Window());
    EndDialog(fw::kIdCancel);
    return true;
  }

 private:
  std::function<void(fw::DialogWindow&)> checks_;
};

template <class Runner>
class WindowContract : public ::testing::Test {
 protected:
  void Check(std::function<void(fw::DialogWindow&)> checks) {
    bool ran = false;
    ProbeDialog dialog([&](fw::DialogWindow& w) {
      ran = true;
      checks(w);
    });
    Runner::Run(dialog);
    EXPECT_TRUE(ran) << "the dialog never started";
  }
};
TYPED_TEST_SUITE_P(WindowContract);

// Guards index checks that differ between hosts: a write past the end, a
// read of stale item data, a selection that survives being out of range.
TYPED_TEST_P(WindowContract, ListsKeepEntriesDataAndSelectionByTheSameRules) {
  this->Check([](fw::DialogWindow& w) {
    for (const int id : {IDC_LIST_EEPROM_SIZE, IDC_LIST_LOG}) {
      SCOPED_TRACE(id);
      EXPECT_EQ(w.GetCount(id), 0);
      EXPECT_EQ(w.SetTopIndex(id, 0), -1) << "empty list";
      EXPECT_EQ(w.AddString(id, "512"), 0);
      EXPECT_EQ(w.AddString(id, "256 Kbit \xC3\xA9"), 1);
      EXPECT_EQ(w.GetCount(id), 2);
      EXPECT_EQ(w.GetItemText(id, 1), "256 Kbit \xC3\xA9");
      EXPECT_EQ(w.SetItemData(id, 1, 256), 0);
      EXPECT_EQ(w.GetItemData(id, 1), 256u);
      EXPECT_EQ(w.GetItemData(id, 0), 0u);
      for (const int bad : {-1, 2}) {
        EXPECT_EQ(w.SetItemData(id, bad, 7), -1) << bad;
        EXPECT_EQ(w.GetItemData(id, bad), 0u) << bad;
        EXPECT_EQ(w.GetItemText(id, bad), "") << bad;
        EXPECT_EQ(w.SetTopIndex(id, bad), -1) << bad;
      }
      EXPECT_EQ(w.SetTopIndex(id, 1), 0);
      EXPECT_EQ(w.SetCurSel(id, 1), 1);
      EXPECT_EQ(w.GetCurSel(id), 1);
      w.ResetContent(id);
      EXPECT_EQ(w.GetCount(id), 0);
      EXPECT_EQ(w.GetCurSel(id), -1);
      EXPECT_EQ(w.AddString(id, "1024"), 0);
      EXPECT_EQ(w.GetItemData(id, 0), 0u) << "item data survived a reset";
    }
    // A drop-down's text is its selected entry; out of range clears it.
    const int combo = IDC_LIST_EEPROM_SIZE;
    EXPECT_EQ(w.SetCurSel(combo, 0), 0);
    EXPECT_EQ(w.GetText(combo), "1024");
    for (const int bad : {1, -1}) {
      EXPECT_EQ(w.SetCurSel(combo, 0), 0);
      EXPECT_EQ(w.SetCurSel(combo, bad), -1) << bad;
      EXPECT_EQ(w.GetCurSel(combo), -1) << bad;
      EXPECT_EQ(w.GetText(combo), "") << bad;
    }
    // Entries given by the template are there before the dialog starts.
    EXPECT_EQ(w.GetCount(IDC_LIST_FEC), 15);
    EXPECT_EQ(w.GetItemText(IDC_LIST_FEC, 14), "5/11");
    // Controls that hold no list refuse list calls.
    EXPECT_EQ(w.AddString(IDC_EDIT_FREQ, "x"), -1);
    EXPECT_EQ(w.GetCount(IDC_EDIT_FREQ), -1);
    EXPECT_EQ(w.GetCount(4242), -1);
  });
}

// Guards controls found that do not exist, and states kept where none belong.
TYPED_TEST_P(WindowContract, ControlsKeepTextStateAndEnablingAsSet) {
  this->Check([](fw::DialogWindow& w) {
    EXPECT_FALSE(w.HasControl(fw::kIdStatic));
    EXPECT_FALSE(w.HasControl(4242));
    EXPECT_TRUE(w.HasControl(IDC_BTN_TUNE));
    EXPECT_FALSE(w.IsControlEnabled(4242));
    w.EnableControl(IDC_BTN_TUNE, false);
    EXPECT_FALSE(w.IsControlEnabled(IDC_BTN_TUNE));
    w.EnableControl(IDC_BTN_TUNE, true);
    EXPECT_TRUE(w.IsControlEnabled(IDC_BTN_TUNE));
    for (const int id : {IDC_EDIT_FREQ, IDC_STATIC_FILTER_INFO}) {
      w.SetText(id,
                "\xC3\x89"
                "crit 188 octets");
      EXPECT_EQ(w.GetText(id),
                "\xC3\x89"
                "crit 188 octets")
          << id;
    }
    EXPECT_EQ(w.GetText(4242), "");
    w.SetCheck(IDC_CHK_LOG_TO_FILE, 1);
    EXPECT_EQ(w.GetCheck(IDC_CHK_LOG_TO_FILE), 1);
    w.SetCheck(IDC_CHK_LOG_TO_FILE, 0);
    EXPECT_EQ(w.GetCheck(IDC_CHK_LOG_TO_FILE), 0);
    w.SetCheck(IDC_BTN_TUNE, 1);  // a push button keeps no check state
    EXPECT_EQ(w.GetCheck(IDC_BTN_TUNE), 0);
  });
}

REGISTER_TYPED_TEST_SUITE_P(WindowContract, ListsKeepEntriesDataAndSelectionByTheSameRules,
                            ControlsKeepTextStateAndEnablingAsSet);

}  // namespace contract
