// The signal chart painted by the wx host, and the history window beside the
// program's dialog.
#include "tuning/signal_chart.h"

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/image.h>

#include "app/quorvex_demo_dlg.h"
#include "gui_support.h"
#include "hosts/wx/chart_frame.h"
#include "res/resource_ids.h"
#include "tests/support/stream_chart_case.h"
#include "tuning/signal_recorder.h"

namespace {

bool Near(const wxImage& img, int x, int y, fw::Rgb c) {
  // A two-pixel pen may straddle the row the mapping gives.
  for (int dy : {0, -1, 1}) {
    if (img.GetRed(x, y + dy) == c.r && img.GetGreen(x, y + dy) == c.g &&
        img.GetBlue(x, y + dy) == c.b) {
      return true;
    }
  }
  return false;
}

TEST(SignalChartPaint, LevelLineAndLockShadingWhereTheMappingPutsThem) {
  std::vector<SignalSample> s;
  for (int t = 0; t < 20; ++t) {
    SignalSample x;
    x.timeMs = t * 1000, x.lock = t < 10, x.levelPct = 60, x.snrDb = 12;
    s.push_back(x);
  }
  const int w = 400, h = 300;
  wxBitmap bitmap(w, h, 24);
  {
    wxMemoryDC dc(bitmap);
    wxhost::PaintChartPicture(dc, SignalChart(s, 0, 19000, w, h), w, h);
  }
  const wxImage img = bitmap.ConvertToImage();
  const ChartLayout l = LayoutChart(w, h);
  const int row = ToY({0, 100}, 60, l.percent);
  const int berRow = l.ber.top + l.ber.height / 2;
  for (int t : {2, 7, 15}) {
    const int x = ToX(t * 1000, 0, 19000, l.percent);
    EXPECT_TRUE(Near(img, x, row, chart_colour::kLevel)) << "t=" << t;
    EXPECT_FALSE(Near(img, x, row - 12, chart_colour::kLevel)) << "t=" << t;
    // No BER was reported: the pane shows only whether lock was held.
    EXPECT_TRUE(Near(img, x, berRow, t < 10 ? chart_colour::kLock : fw::Rgb{255, 255, 255}))
        << "t=" << t;
  }
}

// Guards a stream pane that the signal panes squash, a bit-rate line drawn
// where no capture ran, and error ticks missing or misplaced.
TEST(SignalChartPaint, StreamLineAndErrorTicksUnderTheSignal) {
  using namespace stream_chart_case;
  wxBitmap bitmap(kWidth, kHeight, 24);
  {
    wxMemoryDC dc(bitmap);
    wxhost::PaintChartPicture(dc, SignalChart(Samples(), 0, kEndMs, kWidth, kHeight), kWidth,
                              kHeight);
  }
  const wxImage img = bitmap.ConvertToImage();
  for (const Mark& m : Marks()) EXPECT_EQ(Near(img, m.x, m.y, m.colour), m.painted) << m.x;
}

TEST(SignalHistoryWindow, OpensBesideTheDialogAndSamplesFastWhileAsked) {
  CQuorvexDemoDlg dlg;
  guitest::RunShown(dlg, [&](wxhost::WxDialogWindow& w) {
    const auto frames = [] {
      std::vector<wxhost::ChartFrame*> out;
      for (wxWindow* top : wxTopLevelWindows) {
        auto* f = dynamic_cast<wxhost::ChartFrame*>(top);
        if (f != nullptr && !f->IsBeingDeleted()) out.push_back(f);
      }
      return out;
    };
    dlg.Dispatch(fw::SysCommandMessage(IDM_SIGNALHISTORY));
    ASSERT_TRUE(guitest::PumpUntil([&] { return frames().size() == 1; }));
    wxhost::ChartFrame* frame = frames()[0];
    ASSERT_TRUE(guitest::PumpUntil([&] { return frame->IsShownOnScreen(); }));
    EXPECT_GE(frame->GetScreenRect().GetLeft(), w.GetScreenRect().GetRight());
    // Choosing the entry again brings the same window forward.
    dlg.Dispatch(fw::SysCommandMessage(IDM_SIGNALHISTORY));
    EXPECT_EQ(frames().size(), 1u);

    // Half-second samples through a tune, a lock loss and back, all shown.
    // A real click: the window takes input beside the modal dialog.
    SignalRecorder& rec = *SignalRecorder::Current();
    EXPECT_TRUE(guitest::ClickAndWait(wxWindow::FindWindowByLabel("Fast (0.5 s)", frame),
                                      [&] { return rec.Switch(); }));
    rec.SetSpan(3);
    const size_t before = rec.History().Size();
    for (const char* freq : {"10722", "11111", "10722"}) {
      w.SetText(IDC_EDIT_FREQ, freq);
      dlg.Dispatch(fw::CommandMessage(IDC_BTN_TUNE, fw::Notify::Clicked));
      guitest::Pump(2000);
    }
    EXPECT_GE(rec.History().Size() - before, 8u);
    EXPECT_EQ(w.GetText(IDC_STATIC_LEVEL).rfind("Level", 0), 0u);
    EXPECT_NE(guitest::ShotOfBoth(w, *frame, "signal_history"), "");
    frame->Close();
    EXPECT_TRUE(guitest::PumpUntil([&] { return frames().empty(); }));
    EXPECT_FALSE(rec.Switch());
    w.Close();
  });
}

}  // namespace
