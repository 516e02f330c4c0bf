// The program's window in a locale with a decimal comma, as on a German
// desktop (gui.window_de_DE runs this with LC_ALL set).
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/quorvex_demo_dlg.h"
#include "framework/message.h"
#include "gui_support.h"
#include "res/resource_ids.h"
#include "tuning/signal_csv.h"
#include "tuning/signal_recorder.h"

namespace {

// Guards the signal group, the history's summary and CSV following the
// process locale ("SNR: 8,50dB"), which tools that read them cannot parse.
TEST(DecimalCommaLocale, SignalTextsInTheWindowKeepTheirDecimalPoint) {
  // wxWidgets 3.2 takes only the character set from the environment; GTK on
  // its own, an input method or a tuner library in the process may take all
  // of it, as here.
  const std::string before = std::setlocale(LC_ALL, nullptr);
  std::setlocale(LC_ALL, "");
  ASSERT_STREQ(std::localeconv()->decimal_point, ",")
      << "run with LC_ALL=de_DE.UTF-8 (the gui.window_de_DE test does)";
  const std::string config = guitest::VirtualCardConfig();
  std::ofstream(config) << R"({"signal": {"Statistic": {"level": 71, "quality": 80},
      "GetSignalExEx": {"lock": 1, "rf": -45, "snr": 8.5, "ber": 0.0003}}})";
  CQuorvexDemoDlg dlg;
  std::string snr, ber, summary, csv;
  guitest::RunShown(dlg, [&](wxhost::WxDialogWindow& w) {
    dlg.Dispatch(fw::TimerMessage(kSignalTimerId));
    snr = w.GetText(IDC_STATIC_SNR);
    ber = w.GetText(IDC_STATIC_BER);
    summary = SignalRecorder::Current()->Summary();
    csv = SignalCsv(SignalRecorder::Current()->History());
    guitest::Pump(300);
    guitest::Screenshot(w, "main_window_de_DE");
    w.Close();
    EXPECT_TRUE(guitest::PumpUntil([&] { return w.Ended(); }));
  });
  std::filesystem::remove(config);
  std::setlocale(LC_ALL, before.c_str());
  EXPECT_EQ(snr, "SNR: 8.50dB");
  EXPECT_EQ(ber, "BER: 0.00030");
  EXPECT_NE(summary.find("SNR: 8.50 dB   BER: 3.00e-04"), std::string::npos) << summary;
  EXPECT_NE(csv.find(",0,71,80,-45,8.5,3e-04,,,,,\n"), std::string::npos) << csv;
}

}  // namespace
