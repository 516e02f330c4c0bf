// A capture of a stream that loses packets in bursts, charted in the history
// window under the signal that carried it (gui.stream_health runs this in a
// process of its own: the virtual card reads its configuration once).
#include <gtest/gtest.h>
#include <wx/filedlg.h>
#include <wx/modalhook.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/quorvex_demo_dlg.h"
#include "framework/message.h"
#include "gui_support.h"
#include "hosts/wx/chart_frame.h"
#include "hosts/wx/wx_text.h"
#include "res/resource_ids.h"
#include "tuning/signal_recorder.h"

namespace {

// Answers the capture's file dialog with a path.
class AnswerFile : public wxExpectModalBase<wxFileDialog, AnswerFile> {
 public:
  explicit AnswerFile(std::string path) : path_(std::move(path)) {}

 protected:
  int OnInvoked(wxFileDialog* dialog) const override {
    dialog->SetPath(wxhost::ToWx(path_));
    return wxID_OK;
  }
  std::string path_;
};

wxhost::ChartFrame* OpenFrame() {
  for (wxWindow* top : wxTopLevelWindows) {
    auto* f = dynamic_cast<wxhost::ChartFrame*>(top);
    if (f != nullptr && !f->IsBeingDeleted()) return f;
  }
  return nullptr;
}

// Guards a loss on the capture path that never reaches the history, the
// summary or the chart's stream pane.
TEST(StreamHealthWindow, BurstsOfLossShowUnderTheSignalWhileCapturing) {
  if (std::getenv("QV_GUI_FRESH_LIBRARY") == nullptr) GTEST_SKIP() << "needs a process of its own";
  const auto dir =
      std::filesystem::temp_directory_path() / ("qv_gui_stream_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string config = guitest::VirtualCardConfig();
  // Two bursts of 400 packets (about 0.1 s of the multiplex) 4 and 8 s into
  // the stream.
  std::ofstream(config) << R"({"stream": {"damage": {"burst": [
      {"packets": 400, "after_ms": 4000}, {"packets": 400, "after_ms": 8000}]}}})";
  CQuorvexDemoDlg dlg;
  guitest::RunShown(dlg, [&](wxhost::WxDialogWindow& w) {
    dlg.Dispatch(fw::SysCommandMessage(IDM_SIGNALHISTORY));
    ASSERT_TRUE(guitest::PumpUntil([] { return OpenFrame() != nullptr; }));
    wxhost::ChartFrame* frame = OpenFrame();
    ASSERT_TRUE(guitest::PumpUntil([&] { return frame->IsShownOnScreen(); }));
    SignalRecorder& rec = *SignalRecorder::Current();
    rec.SetSwitch(true);
    rec.SetSpan(3);
    dlg.Dispatch(fw::CommandMessage(IDC_BTN_TUNE, fw::Notify::Clicked));
    guitest::Pump(1000);
    {
      guitest::ModalHook hook;
      const AnswerFile answer((dir / "burst.ts").string());
      hook.AddExpectation(answer);
      w.SetCheck(IDC_CHK_FILTER_ENABLE, 1);
      dlg.Dispatch(fw::CommandMessage(IDC_CHK_FILTER_ENABLE, fw::Notify::Clicked));
      guitest::Pump(11000);
    }
    uint64_t errors = 0, packets = 0;
    for (size_t i = 0; i < rec.History().Size(); ++i) {
      if (const auto& s = rec.History().At(i).stream) {
        errors += s->ccErrors;
        packets += s->packets;
      }
    }
    EXPECT_GT(packets, 0u);
    EXPECT_GE(errors, 2u) << "both bursts break the continuity of the PIDs they hit";
    EXPECT_NE(rec.Summary().find("Stream: "), std::string::npos) << rec.Summary();
    EXPECT_NE(guitest::ShotOfBoth(w, *frame, "stream_health"), "");
    w.SetCheck(IDC_CHK_FILTER_ENABLE, 0);
    dlg.Dispatch(fw::CommandMessage(IDC_CHK_FILTER_ENABLE, fw::Notify::Clicked));
    frame->Close();
    w.Close();
    EXPECT_TRUE(guitest::PumpUntil([&] { return w.Ended(); }));
  });
  std::filesystem::remove(config);
  std::filesystem::remove_all(dir);
}

}  // namespace
