// The wxWidgets host with a recording dialog on the main window's template:
// layout, notifications, keys, close, timers, posting, boxes and file dialogs.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "gui_support.h"
#include "hosts/wx/log_list.h"
#include "hosts/wx/rules.h"
#include "hosts/wx/wx_text.h"
#include "res/dialogs.h"
#include "res/resource_ids.h"
#include "res/strings.h"
#include "tests/support/window_contract.h"

namespace {

using guitest::RecordingDialog;
using guitest::RunShown;
using wxhost::WxDialogWindow;

bool Has(const RecordingDialog& d, const std::string& what) {
  return std::find(d.received.begin(), d.received.end(), what) != d.received.end();
}

wxhost::PixelRect Screen(wxWindow* w) {
  const wxRect r = w->GetRect();
  return {r.x, r.y, r.width, r.height};
}

// Guards against squeezed, overlapping or reordered controls on screen.
TEST(WxLayout, MainTemplateOnScreenKeepsTheTemplateArrangement) {
  const fw::DialogTemplate& t = res::MainDialogTemplate();
  RecordingDialog dlg(t);
  RunShown(dlg, [&](WxDialogWindow& w) {
    const auto& controls = w.Controls();
    ASSERT_EQ(controls.size(), 68u);
    ASSERT_EQ(t.controls.size(), 68u);

    // Tab order is creation order: the window's children in template order.
    std::vector<wxWindow*> children(w.GetChildren().begin(), w.GetChildren().end());
    ASSERT_GE(children.size(), controls.size());
    for (size_t i = 0; i < controls.size(); ++i) {
      EXPECT_EQ(children[i], controls[i].second) << "control " << i << " is out of tab order";
    }

    for (size_t i = 0; i < controls.size(); ++i) {
      const fw::ControlTemplate& a = *controls[i].first;
      const wxhost::PixelRect ra = Screen(controls[i].second);
      const std::string name = "control " + std::to_string(a.id) + " \"" + a.text + "\"";
      EXPECT_EQ(controls[i].second->IsThisEnabled(), (a.style & fw::kDisabled) == 0) << name;
      // Every control lies inside the client area.
      const wxSize client = w.GetClientSize();
      EXPECT_TRUE(ra.x >= 0 && ra.y >= 0 && ra.Right() <= client.x && ra.Bottom() <= client.y)
          << name;
      // Nothing a user reads is squeezed below what it needs.
      const wxSize best = controls[i].second->GetBestSize();
      switch (a.kind) {
        case fw::ControlKind::Edit:
        case fw::ControlKind::ComboBox:
          EXPECT_GE(ra.height, best.y) << name;
          break;
        case fw::ControlKind::PushButton:
        case fw::ControlKind::DefPushButton:
        case fw::ControlKind::CheckBox:
        case fw::ControlKind::Radio:
          EXPECT_GE(ra.height, best.y) << name;
          EXPECT_GE(ra.width, best.x) << name;
          break;
        case fw::ControlKind::Static:
          if (!a.text.empty()) {
            EXPECT_GE(ra.width, best.x) << name;
          }
          break;
        default:
          break;
      }
      for (size_t j = i + 1; j < controls.size(); ++j) {
        const fw::ControlTemplate& b = *controls[j].first;
        const wxhost::PixelRect rb = Screen(controls[j].second);
        const fw::DluRect da = wxhost::ScreenDlu(a);
        const fw::DluRect db = wxhost::ScreenDlu(b);
        const wxhost::PixelRect ta{da.x, da.y, da.cx, da.cy};
        const wxhost::PixelRect tb{db.x, db.y, db.cx, db.cy};
        const std::string pair =
            name + " and control " + std::to_string(b.id) + " \"" + b.text + "\"";
        if (!ta.Overlaps(tb)) {
          EXPECT_FALSE(ra.Overlaps(rb)) << pair << " overlap on screen";
        }
        // Left of, above: the same on screen as in the template.
        EXPECT_EQ(da.x < db.x, ra.x < rb.x) << pair;
        EXPECT_EQ(da.x == db.x, ra.x == rb.x) << pair;
        EXPECT_EQ(da.y < db.y, ra.y < rb.y) << pair;
        EXPECT_EQ(da.y == db.y, ra.y == rb.y) << pair;
      }
    }
    // A drop-down takes its closed height, not its list's.
    EXPECT_LT(w.Control(IDC_LIST_FEC)->GetSize().y, w.Control(IDC_LIST_FEC)->GetSize().x * 2);
    EXPECT_EQ(w.Control(IDC_LIST_FEC)->GetSize().y, w.Control(IDC_EDIT_FREQ)->GetSize().y);
    // The whole dialog fits a common laptop screen.
    EXPECT_LE(w.GetSize().y, 1000);
    guitest::Screenshot(w, "host_main_template");
  });
}

// The window contract on the wxWidgets window.
struct WxRunner {
  static void Run(fw::Dialog& dialog) { guitest::Host().RunModal(dialog); }
};

// Guards against letters in digit edits and legacy-encoded names vanishing.
TEST(WxControls, DigitEditsRefuseLettersAndLegacyNamesStillShow) {
  RecordingDialog dlg(res::MainDialogTemplate());
  RunShown(dlg, [&](WxDialogWindow& w) {
    EXPECT_NE(dynamic_cast<wxTextCtrl*>(w.Control(IDC_EDIT_FREQ)), nullptr);
    EXPECT_NE(dynamic_cast<wxhost::LogList*>(w.Control(IDC_LIST_LOG)), nullptr);
    // Digits-only edits refuse letters as they are typed; plain edits take them.
    for (int id : {IDC_EDIT_FREQ, IDC_EDIT_LOF_LOW}) {
      w.SetText(id, "");
      w.SetFocus(id);
      guitest::PumpUntil([&] { return wxWindow::FindFocus() == w.Control(id); });
      wxUIActionSimulator sim;
      sim.Text("12a3");
      guitest::PumpUntil([&] { return w.GetText(id).size() >= 3 && w.GetText(id).back() == '3'; });
    }
    EXPECT_EQ(w.GetText(IDC_EDIT_FREQ), "123");
    EXPECT_EQ(w.GetText(IDC_EDIT_LOF_LOW), "12a3");

    // A name in a legacy code page still shows rather than vanishing, and
    // the program gets back the bytes it gave.
    const std::string legacy("Karte \xC4", 7);
    w.AddString(IDC_CB_DEVICE, legacy);
    EXPECT_EQ(wxhost::FromWx(dynamic_cast<wxChoice*>(w.Control(IDC_CB_DEVICE))->GetString(0)),
              "Karte Ä");
    EXPECT_EQ(w.GetItemText(IDC_CB_DEVICE, 0), legacy);
  });
}

// Guards against lost clicks, two-selection radio groups, disabled controls notifying.
TEST(WxNotifications, RealClicksReachTheDialogAsItsCommands) {
  RecordingDialog dlg(res::MainDialogTemplate());
  RunShown(dlg, [&](WxDialogWindow& w) {
    EXPECT_TRUE(
        guitest::ClickAndWait(w.Control(IDC_BTN_TUNE), [&] { return Has(dlg, "clicked 1012"); }));

    // An automatic check box toggles itself, then the dialog hears of it.
    EXPECT_EQ(w.GetCheck(IDC_CHK_LOG_TO_FILE), 0);
    EXPECT_TRUE(guitest::ClickAndWait(w.Control(IDC_CHK_LOG_TO_FILE),
                                      [&] { return Has(dlg, "clicked 1030"); }));
    EXPECT_EQ(w.GetCheck(IDC_CHK_LOG_TO_FILE), 1);

    // A radio button selects itself and clears its group.
    w.EnableControl(IDC_RADIO_BURST_A, true);
    w.EnableControl(IDC_RADIO_BURST_B, true);
    w.SetCheck(IDC_RADIO_BURST_A, 1);
    EXPECT_TRUE(guitest::ClickAndWait(w.Control(IDC_RADIO_BURST_B),
                                      [&] { return Has(dlg, "clicked 1032"); }));
    EXPECT_EQ(w.GetCheck(IDC_RADIO_BURST_A), 0);
    EXPECT_EQ(w.GetCheck(IDC_RADIO_BURST_B), 1);

    // A disabled control is not clickable.
    dlg.received.clear();
    EXPECT_FALSE(w.IsControlEnabled(IDC_BTN_DISEQC_SEND));
    guitest::ClickAndWait(w.Control(IDC_BTN_DISEQC_SEND), [] { return false; });
    EXPECT_TRUE(dlg.received.empty());

    // A drop-down's change of selection is its SelChange.
    auto* choice = dynamic_cast<wxChoice*>(w.Control(IDC_LIST_POL));
    ASSERT_NE(choice, nullptr);
    choice->SetSelection(1);
    wxCommandEvent changed(wxEVT_CHOICE, choice->GetId());
    changed.SetEventObject(choice);
    changed.SetInt(1);
    choice->ProcessWindowEvent(changed);
    EXPECT_TRUE(Has(dlg, "selchange 1006"));
    EXPECT_EQ(w.GetCurSel(IDC_LIST_POL), 1);
  });
}

// Guards against a log list that replaces selections or hides the newest line.
TEST(WxMessageList, ClicksToggleLinesDoubleClickNotifiesAndTheNewestLineShows) {
  RecordingDialog dlg(res::MainDialogTemplate());
  RunShown(dlg, [&](WxDialogWindow& w) {
    auto* list = dynamic_cast<wxhost::LogList*>(w.Control(IDC_LIST_LOG));
    ASSERT_NE(list, nullptr);
    for (int i = 0; i < 3; ++i) w.AddString(IDC_LIST_LOG, "line " + std::to_string(i));
    guitest::PumpUntil([&] { return list->GetItemCount() == 3; });
    // The first line's row sits at the top of the list.
    wxUIActionSimulator sim;
    const wxPoint first = list->ClientToScreen(wxPoint(20, list->GetCharHeight() + 2 / 2));
    sim.MouseMove(first);
    guitest::Pump(50);
    sim.MouseClick();
    EXPECT_TRUE(guitest::PumpUntil([&] { return list->IsSelected(0); }));
    sim.MouseMove(first + wxPoint(0, list->GetCharHeight() + 2));
    guitest::Pump(50);
    sim.MouseClick();
    EXPECT_TRUE(guitest::PumpUntil([&] { return list->IsSelected(1); }));
    EXPECT_TRUE(list->IsSelected(0)) << "a click must toggle, not replace the selection";
    guitest::Pump(800);  // so the next click is not taken for a double-click
    sim.MouseClick();
    EXPECT_TRUE(guitest::PumpUntil([&] { return !list->IsSelected(1); }));
    EXPECT_TRUE(guitest::ClickAndWait(
        list, [&] { return Has(dlg, "dblclick 1013"); }, true));

    w.ResetContent(IDC_LIST_LOG);
    EXPECT_EQ(w.GetCount(IDC_LIST_LOG), 0);
    // As the program logs: append, then make the newest line the top one.
    for (int i = 0; i < 5000; ++i) {
      const int index = w.AddString(IDC_LIST_LOG, "entry " + std::to_string(i));
      ASSERT_EQ(index, i);
      w.SetTopIndex(IDC_LIST_LOG, w.GetCount(IDC_LIST_LOG) - 1);
    }
    EXPECT_TRUE(guitest::PumpUntil([&] {
      return list->GetItemCount() == 5000 && list->GetVisibleRowsEnd() == 5000;
    })) << "the newest line is not in view";
    EXPECT_GT(list->GetVisibleRowsBegin(), 4900u);
    EXPECT_EQ(w.GetItemText(IDC_LIST_LOG, 4999), "entry 4999");
  });
}

// Guards against Enter ending the dialog while a button has the focus.
TEST(WxKeys, EscapeIsCancelAndEnterIsOkUnlessAButtonHasTheFocus) {
  {
    RecordingDialog dlg(res::MainDialogTemplate());
    const int result = RunShown(dlg, [&](WxDialogWindow& w) {
      w.SetFocus(IDC_EDIT_FREQ);
      EXPECT_TRUE(guitest::KeyAndWait(WXK_ESCAPE, wxMOD_NONE, [&] { return w.Ended(); }));
    });
    EXPECT_EQ(result, fw::kIdCancel);
    EXPECT_EQ(dlg.received, std::vector<std::string>{"clicked 2"});
  }
  {
    RecordingDialog dlg(res::MainDialogTemplate());
    const int result = RunShown(dlg, [&](WxDialogWindow& w) {
      w.SetFocus(IDC_BTN_TUNE);
      guitest::PumpUntil([&] { return wxWindow::FindFocus() == w.Control(IDC_BTN_TUNE); });
      EXPECT_TRUE(
          guitest::KeyAndWait(WXK_RETURN, wxMOD_NONE, [&] { return Has(dlg, "clicked 1012"); }));
      EXPECT_FALSE(w.Ended());
      w.SetFocus(IDC_EDIT_FREQ);
      guitest::PumpUntil([&] { return wxWindow::FindFocus() == w.Control(IDC_EDIT_FREQ); });
      EXPECT_TRUE(guitest::KeyAndWait(WXK_RETURN, wxMOD_NONE, [&] { return w.Ended(); }));
    });
    EXPECT_EQ(result, fw::kIdOk);
    EXPECT_TRUE(Has(dlg, "clicked 1"));
  }
}

// Guards against an unreachable About entry and a close that skips OnClose.
TEST(WxWindowMenu, AboutEntryIsOfferedWhereThereIsNoSystemMenu) {
  RecordingDialog dlg(res::MainDialogTemplate());
  dlg.onInit = [](RecordingDialog& d) {
    EXPECT_TRUE(d.Window().AppendSystemMenu(IDM_ABOUTBOX, res::LoadString(IDS_ABOUTBOX)));
  };
  const int result = RunShown(dlg, [&](WxDialogWindow& w) {
    ASSERT_EQ(w.SystemMenuEntries().size(), 1u);
    EXPECT_EQ(w.SystemMenuEntries()[0].second, "&About  QuorvexDemo...");
    w.SetFocus(IDC_EDIT_FREQ);
    EXPECT_TRUE(guitest::KeyAndWait(WXK_F1, wxMOD_NONE, [&] { return Has(dlg, "syscommand 16"); }));
    // The window's Close goes through the dialog's close handling.
    w.Close();
    EXPECT_TRUE(guitest::PumpUntil([&] { return w.Ended(); }));
  });
  EXPECT_EQ(result, fw::kIdCancel);
  EXPECT_TRUE(Has(dlg, "close"));
}

// Guards against timers that mix up their ids or tick on after KillTimer.
TEST(WxTimers, DeliverTheirIdAndStopWhenKilledFromTheirOwnTick) {
  RecordingDialog dlg(res::MainDialogTemplate());
  int ticks7 = 0;
  dlg.onMessage = [&](RecordingDialog& d, const fw::Message& m) {
    if (m.kind == fw::MessageKind::Timer && m.timerId == 7 && ++ticks7 == 2) d.KillTimer(7);
  };
  RunShown(dlg, [&](WxDialogWindow& w) {
    EXPECT_EQ(w.SetTimer(7, 30), 7u);
    EXPECT_EQ(w.SetTimer(33, 40), 33u);
    EXPECT_TRUE(guitest::PumpUntil([&] { return ticks7 == 2 && Has(dlg, "timer 33"); }));
    EXPECT_TRUE(w.KillTimer(33));
    EXPECT_FALSE(w.KillTimer(33));
    EXPECT_FALSE(w.KillTimer(99));
    guitest::Pump(300);
    EXPECT_EQ(ticks7, 2);
    const auto count33 = std::count(dlg.received.begin(), dlg.received.end(), "timer 33");
    guitest::Pump(200);
    EXPECT_EQ(std::count(dlg.received.begin(), dlg.received.end(), "timer 33"), count33);
  });
}

// Guards against posted work reordered, lost, or run for a dialog that ended.
TEST(WxPosting, WorkFromOtherThreadsRunsInOrderAndNeverOutlivesItsDialog) {
  std::vector<int> ran;
  std::atomic<bool> stale{false};
  {
    RecordingDialog dlg(res::MainDialogTemplate());
    RunShown(dlg, [&](WxDialogWindow& w) {
      std::thread poster([&] {
        for (int i = 0; i < 200; ++i) guitest::Host().Post([&ran, i] { ran.push_back(i); });
      });
      poster.join();
      EXPECT_TRUE(guitest::PumpUntil([&] { return ran.size() == 200; }));
      std::vector<int> expected(200);
      for (int i = 0; i < 200; ++i) expected[static_cast<size_t>(i)] = i;
      EXPECT_EQ(ran, expected);
      // Queued, but the dialog ends before the loop gets to it.
      guitest::Host().Post([&] { stale = true; });
      w.EndDialog(fw::kIdCancel);
    });
  }
  // Posted with no dialog open.
  guitest::Host().Post([&] { stale = true; });
  RecordingDialog next(res::MainDialogTemplate());
  RunShown(next, [&](WxDialogWindow&) { guitest::Pump(200); });
  EXPECT_FALSE(stale) << "work for an ended dialog ran";
}

// A message box, checked and answered without being shown.
class ExpectBox : public wxExpectModalBase<wxMessageDialog, ExpectBox> {
 public:
  struct Seen {
    std::string text, caption;
    long style = 0;
  };
  explicit ExpectBox(Seen* seen) : seen_(seen) {}

 protected:
  int OnInvoked(wxMessageDialog* box) const override {
    seen_->text = wxhost::FromWx(box->GetMessage());
    seen_->caption = wxhost::FromWx(box->GetTitle());
    seen_->style = box->GetMessageDialogStyle();
    return wxID_OK;
  }
  Seen* seen_;
};

// A file dialog, checked and answered with a path or a cancel.
class ExpectFile : public wxExpectModalBase<wxFileDialog, ExpectFile> {
 public:
  struct Seen {
    std::string name, wildcard;
    long style = 0;
  };
  ExpectFile(Seen* seen, const std::string& answer) : seen_(seen), answer_(answer) {}

 protected:
  int OnInvoked(wxFileDialog* dialog) const override {
    seen_->name = wxhost::FromWx(dialog->GetFilename());
    seen_->wildcard = wxhost::FromWx(dialog->GetWildcard());
    seen_->style = dialog->GetWindowStyle();
    if (answer_.empty()) return wxID_CANCEL;
    dialog->SetPath(wxhost::ToWx(answer_));
    return wxID_OK;
  }
  Seen* seen_;
  std::string answer_;
};

// Guards against a box with the wrong icon, extra buttons or a mangled text.
TEST(WxBoxes, MessageBoxesShowCaptionTextIconAndOnlyOk) {
  RecordingDialog dlg(res::MainDialogTemplate());
  RunShown(dlg, [&](WxDialogWindow& w) {
    ExpectBox::Seen stop, info;
    guitest::ModalHook hook;
    const ExpectBox e1(&stop), e2(&info);
    hook.AddExpectation(e1);
    hook.AddExpectation(e2);
    EXPECT_EQ(w.MessageBox("StopDVB() failed !", "Error", fw::BoxIcon::Stop), fw::kIdOk);
    EXPECT_EQ(guitest::Host().MessageBox(res::LoadString(IDP_SOCKETS_INIT_FAILED), "QuorvexDemo",
                                         fw::BoxIcon::Information),
              fw::kIdOk);
    EXPECT_EQ(stop.text, "StopDVB() failed !");
    EXPECT_EQ(stop.caption, "Error");
    EXPECT_TRUE(stop.style & wxICON_ERROR);
    EXPECT_TRUE(stop.style & wxOK);
    EXPECT_FALSE(stop.style & (wxCANCEL | wxYES_NO));
    EXPECT_EQ(info.text, "Не удалось инициализировать Windows Sockets.");
    EXPECT_TRUE(info.style & wxICON_INFORMATION);
  });
}

// Guards against a file dialog losing its default name or extension.
TEST(WxBoxes, FileDialogsOfferTheDefaultNameAndFilterAndAddTheDefaultExtension) {
  RecordingDialog dlg(res::MainDialogTemplate());
  RunShown(dlg, [&](WxDialogWindow& w) {
    const std::string dir = wxhost::FromWx(wxFileName::GetTempDir());
    ExpectFile::Seen log, capture, open, cancelled;
    guitest::ModalHook hook;
    const ExpectFile e1(&log, dir + "/session.log"), e2(&capture, dir + "/capture"),
        e3(&open, dir + "/image.bin"), e4(&cancelled, "");
    for (const ExpectFile* e : {&e1, &e2, &e3, &e4}) hook.AddExpectation(*e);

    fw::FileDialogRequest request;
    request.defaultName = "QuorvexDemo.log";
    request.filter = "Log (*.log)|*.log|All Files (*.*)|*.*||";
    EXPECT_EQ(w.FileDialog(request), dir + "/session.log");
    EXPECT_EQ(log.name, "QuorvexDemo.log");
    EXPECT_EQ(log.wildcard, "Log (*.log)|*.log|All Files (*.*)|*");
    EXPECT_TRUE(log.style & wxFD_SAVE);
    EXPECT_FALSE(log.style & wxFD_OVERWRITE_PROMPT);

    request.defaultName = "stream.ts";
    request.defaultExt = "ts";
    request.filter = "TS (*.ts)|*.ts||";
    EXPECT_EQ(w.FileDialog(request), dir + "/capture.ts");

    request.save = false;
    request.defaultName = "eeprom.bin";
    request.defaultExt = "bin";
    EXPECT_EQ(w.FileDialog(request), dir + "/image.bin");
    EXPECT_TRUE(open.style & wxFD_OPEN);
    EXPECT_EQ(open.name, "eeprom.bin");

    EXPECT_EQ(w.FileDialog(request), std::nullopt);
  });
}

}  // namespace

namespace contract {
INSTANTIATE_TYPED_TEST_SUITE_P(Wx, WindowContract, ::testing::Types<WxRunner>);
}  // namespace contract
