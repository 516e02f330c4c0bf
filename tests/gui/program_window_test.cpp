// The program itself in the real window, on the virtual card.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/quorvex_demo_dlg.h"
#include "gui_support.h"
#include "hosts/wx/wx_text.h"
#include "res/resource_ids.h"
#include "tuner/tuner_api.h"

namespace {

using wxhost::WxDialogWindow;

int CountCalls(const std::string& prefix) {
  std::ifstream in(guitest::VirtualCardTrace());
  std::string line;
  int n = 0;
  while (std::getline(in, line)) n += line.rfind(prefix, 0) == 0 ? 1 : 0;
  return n;
}

// Guards against start-up, F1 About or title-bar close failing in a real window.
TEST(ProgramWindow, StartsOnTheVirtualCardAboutBoxAndCloseSequence) {
  const int stopsBefore = CountCalls("StopDVB(");
  CQuorvexDemoDlg dlg;
  std::string aboutCaption, aboutButton;
  const int result = guitest::RunShown(dlg, [&](WxDialogWindow& w) {
    // Start-up with the full library (the startup scenarios pin the rest).
    for (int id : {IDC_LIST_MODULATION, IDC_CHK_LOCK, IDC_BTN_TUNE, IDC_EDIT_PID}) {
      EXPECT_TRUE(w.IsControlEnabled(id)) << "control " << id;
    }
    EXPECT_EQ(w.GetText(IDC_EDIT_FREQ), "10722");
    EXPECT_EQ(w.GetText(IDC_EDIT_PID), "8192");
    EXPECT_EQ(w.GetText(IDC_LIST_MIS), "OFF");
    EXPECT_EQ(w.GetCount(IDC_LIST_MIS), 257);
    EXPECT_EQ(w.GetText(IDC_LIST_EEPROM_SIZE), "256");
    EXPECT_GE(w.GetCount(IDC_LIST_LOG), 2);
    EXPECT_EQ(w.GetItemText(IDC_LIST_LOG, 0),
              "SetChannelExEx() used. Set modulation, inversion, pilot, rolloff supported.");
    EXPECT_FALSE(w.GetIcons().IsEmpty());
    // The focus starts on the first tab stop, the frequency.
    EXPECT_TRUE(
        guitest::PumpUntil([&] { return wxWindow::FindFocus() == w.Control(IDC_EDIT_FREQ); }));
    // Once the window is up, the long drop-downs hold every entry natively.
    auto* mis = dynamic_cast<wxChoice*>(w.Control(IDC_LIST_MIS));
    ASSERT_NE(mis, nullptr);
    EXPECT_TRUE(guitest::PumpUntil([&] { return mis->GetCount() == 257u; }));
    EXPECT_EQ(wxhost::FromWx(mis->GetString(256)), "255");
    EXPECT_EQ(mis->GetSelection(), 0);
    guitest::Pump(300);
    EXPECT_NE(guitest::Screenshot(w, "main_window"), "");

    // F1 opens the About box through the dialog's system command; its OK
    // button closes it again.
    wxTimer closer;
    closer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
      const auto& open = guitest::Host().OpenWindows();
      if (open.size() != 2 || !open.back()->IsShownOnScreen()) return;
      closer.Stop();
      aboutCaption = wxhost::FromWx(open.back()->GetTitle());
      wxWindow* ok = open.back()->Control(fw::kIdOk);
      aboutButton = ok != nullptr ? wxhost::FromWx(ok->GetLabel()) : "";
      guitest::Screenshot(*open.back(), "about_box");
      wxUIActionSimulator sim;
      const wxRect r = ok->GetScreenRect();
      sim.MouseMove(r.x + r.width / 2, r.y + r.height / 2);
      sim.MouseClick();
    });
    closer.Start(100);
    w.SetFocus(IDC_EDIT_FREQ);
    EXPECT_TRUE(guitest::KeyAndWait(WXK_F1, wxMOD_NONE, [&] { return !aboutCaption.empty(); }));
    EXPECT_TRUE(guitest::PumpUntil([&] { return guitest::Host().OpenWindows().size() == 1; }));
    closer.Stop();
    EXPECT_FALSE(w.Ended());

    // The title bar's close: the close sequence stops the device and frees
    // the library.
    w.Close();
    EXPECT_TRUE(guitest::PumpUntil([&] { return w.Ended(); }));
  });
  EXPECT_EQ(aboutCaption, "About QuorvexDemo");
  EXPECT_EQ(aboutButton, "ОК");
  EXPECT_EQ(result, fw::kIdCancel);
  EXPECT_EQ(CountCalls("StopDVB(") - stopsBefore, 1);
  EXPECT_EQ(TunerApi.hModule, platform::ModuleHandle{});
}

}  // namespace
