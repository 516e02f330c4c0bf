// The transponder sweep window beside the program's dialog on the virtual
// card (gui.sweep_window runs it in a process of its own): the table fills as
// the sweep goes, Stop ends it at once and gives the dialog's controls back,
// and the CSV holds the rows.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/filedlg.h>
#include <wx/gauge.h>
#include <wx/listctrl.h>
#include <wx/modalhook.h>
#include <wx/stattext.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/quorvex_demo_dlg.h"
#include "framework/message.h"
#include "gui_support.h"
#include "hosts/wx/sweep_frame.h"
#include "hosts/wx/wx_text.h"
#include "res/resource_ids.h"
#include "sweep/sweep_session.h"

namespace {

class AnswerFile : public wxExpectModalBase<wxFileDialog, AnswerFile> {
 public:
  AnswerFile(std::string path, std::string* dir) : path_(std::move(path)), dir_(dir) {}

 protected:
  int OnInvoked(wxFileDialog* dialog) const override {
    if (dir_ != nullptr) *dir_ = wxhost::FromWx(dialog->GetDirectory());
    dialog->SetPath(wxhost::ToWx(path_));
    return wxID_OK;
  }
  std::string path_;
  std::string* dir_;
};

wxhost::SweepFrame* OpenFrame() {
  for (wxWindow* top : wxTopLevelWindows) {
    auto* f = dynamic_cast<wxhost::SweepFrame*>(top);
    if (f != nullptr && !f->IsBeingDeleted()) return f;
  }
  return nullptr;
}

TEST(SweepWindow, RowsFillStopEndsAtOnceAndTheCsvHoldsThem) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("qv_gui_sweep_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string sky = std::string(QV_SWEEP_DATA) + "/virtual-sky.conf";
  CQuorvexDemoDlg dlg;
  guitest::RunShown(dlg, [&](wxhost::WxDialogWindow& w) {
    dlg.Dispatch(fw::SysCommandMessage(IDM_SWEEP));
    ASSERT_TRUE(guitest::PumpUntil([] { return OpenFrame() != nullptr; }));
    wxhost::SweepFrame* frame = OpenFrame();
    ASSERT_TRUE(guitest::PumpUntil([&] { return frame->IsShownOnScreen(); }));
    SweepSession& session = *SweepSession::Current();
    {
      guitest::ModalHook hook;
      std::string offered;
      const AnswerFile answer(sky, &offered);
      hook.AddExpectation(answer);
      EXPECT_TRUE(
          guitest::ClickAndWait(frame->ChooseButton(), [&] { return session.FileText() == sky; }));
      if (std::filesystem::is_directory("/usr/share/dvb")) {
        EXPECT_EQ(offered, "/usr/share/dvb");
      }
    }

    // The virtual sky carries the first nine; the tenth waits for a lock
    // that never comes, and Stop ends it there.
    EXPECT_TRUE(guitest::ClickAndWait(frame->StartButton(), [&] { return session.Running(); }));
    EXPECT_FALSE(w.IsControlEnabled(IDC_BTN_TUNE));
    ASSERT_TRUE(guitest::PumpUntil([&] { return frame->Table()->GetItemCount() >= 3; }, 10000));
    EXPECT_GE(frame->Progress()->GetValue(), 3);
    EXPECT_EQ(frame->Progress()->GetRange(), 11);
    ASSERT_TRUE(guitest::PumpUntil([&] { return frame->Table()->GetItemCount() == 9; }, 10000));
    EXPECT_EQ(wxhost::FromWx(frame->Table()->GetItemText(8, 2)).rfind("locked in ", 0), 0u);
    EXPECT_GE(frame->GetScreenRect().GetLeft(), w.GetScreenRect().GetRight());
    guitest::Pump(300);  // the screen shows the rows once they are painted
    EXPECT_NE(guitest::ShotOfBoth(w, *frame, "sweep"), "");
    EXPECT_TRUE(guitest::ClickAndWait(frame->StopButton(), [&] { return !session.Running(); }));
    guitest::Pump(500);
    EXPECT_EQ(frame->Table()->GetItemCount(), 9);
    EXPECT_EQ(wxhost::FromWx(frame->StatusText()->GetLabel()),
              "Skipped: 9 entries (DVBT2: a DVB-S2 tuner does not receive it: 3; DVBT: a DVB-S2 "
              "tuner does not receive it: 6); Stopped after 9 of 11 transponders; Locked: 9 of 9");
    EXPECT_TRUE(w.IsControlEnabled(IDC_BTN_TUNE));

    const std::string csv = (dir / "sweep.csv").string();
    {
      guitest::ModalHook hook;
      const AnswerFile answer(csv, nullptr);
      hook.AddExpectation(answer);
      EXPECT_TRUE(
          guitest::ClickAndWait(frame->SaveButton(), [&] { return std::filesystem::exists(csv); }));
    }
    std::ifstream in(csv);
    int lines = 0;
    for (std::string line; std::getline(in, line);) ++lines;
    EXPECT_EQ(lines, 10);
    frame->Close();
    EXPECT_TRUE(guitest::PumpUntil([] { return OpenFrame() == nullptr; }));
    w.Close();
  });
  std::filesystem::remove_all(dir);
}

}  // namespace
