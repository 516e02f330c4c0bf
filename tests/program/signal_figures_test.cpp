// Signal figures no receiver measures, where no scenario reaches them (the
// signal_odd_* scenarios take them through the dialog and the CSV), and every
// text of the signal history in a locale with a decimal comma.
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <locale>
#include <string>
#include <vector>

#include "tuning/signal_chart.h"
#include "tuning/signal_csv.h"
#include "tuning/signal_recorder.h"
#include "tuning/signal_text.h"

namespace {

constexpr float kNan = std::numeric_limits<float>::quiet_NaN();

// Guards printf's "-nan", a float's digits cut short, and rounding to "-0".
TEST(SignalTexts, SayWhatTheLibraryReportedHoweverAbsurd) {
  EXPECT_EQ(LevelText(std::optional<float>(-kNan)), "Level: nan%");
  EXPECT_EQ(SnrText(std::numeric_limits<float>::max()),
            "SNR: 340282346638528859811704183484516925440.00dB");
  EXPECT_EQ(SnrText(-0.004f), "SNR: -0.00dB");
  EXPECT_EQ(BerText(std::numeric_limits<float>::denorm_min()), "BER: 0.00000");
  SignalSample s;
  s.lock = true, s.levelPct = INT32_MAX, s.qualityPct = 0.1f, s.rfDbm = INT32_MIN;
  s.snrDb = -kNan, s.ber = std::numeric_limits<float>::max();
  EXPECT_EQ(SampleSummary(s),
            "Lock: yes   Level: 2147483647%   Quality: 0.1%\n"
            "RF level: -2147483648 dBm   SNR: nan dB   BER: 3.40e+38");
}

// Guards a mean poisoned by one NaN and an axis stretched by one absurd value.
TEST(SignalChart, AbsurdFiguresNeitherPoisonMeansNorStretchAxes) {
  SignalHistory h;
  h.StartSeries("Card");
  const double snr[] = {10, kNan, 14, -1e30, INFINITY, kNan};
  for (int t = 0; t < 6; ++t) {
    SignalSample s;
    s.timeMs = t * 1000, s.snrDb = snr[t], s.rfDbm = t == 1 ? INT32_MIN : -45 - t;
    h.Add(s);
  }
  const std::vector<SignalSample> d = Decimate(h, 0, h.Size(), 3);
  ASSERT_EQ(d.size(), 3u);
  EXPECT_EQ(d[0].snrDb, 10.0);  // 10 and NaN
  EXPECT_EQ(d[1].snrDb, (14 - 1e30) / 2);
  EXPECT_TRUE(std::isnan(*d[2].snrDb));  // nothing finite: not a number, left out
  std::vector<std::string> labels;
  for (const auto& t : SignalChart(d, 0, 5000, 600, 400).texts) labels.push_back(t.text);
  // RF -47.5 and -49.5 (the INT_MIN bucket left out) give -50..-40 dBm; SNR 10 gives 10..15 dB.
  for (const char* want : {"-40 dBm", "-50 dBm", "15 dB", "10 dB"}) {
    EXPECT_NE(std::find(labels.begin(), labels.end(), want), labels.end()) << want;
  }
}

// Guards an error tick without its count, and counts of neighbouring ticks
// written over each other.
TEST(SignalChart, ErrorTicksCarryTheirCountWhereThereIsRoom) {
  std::vector<SignalSample> s;
  for (int t = 0; t < 40; ++t) {
    SignalSample x;
    x.timeMs = t * 500;
    x.stream = StreamInterval{25.0, 1000, t == 10 || t == 11 ? 12u : 0u, t == 30 ? 1u : 0u, 0};
    s.push_back(x);
  }
  const ChartLayout l = LayoutChart(600, 400, true);
  std::vector<std::pair<int, std::string>> counts;
  for (const auto& t : SignalChart(s, 0, 19500, 600, 400).texts) {
    if (t.colour == chart_colour::kStreamError && t.text != "errors")
      counts.emplace_back(t.x, t.text);
  }
  const auto x = [&](int t) { return ToX(t * 500, 0, 19500, l.stream) + 3; };
  const std::vector<std::pair<int, std::string>> expected{{x(10), "12"}, {x(30), "1"}};
  EXPECT_EQ(counts, expected);
}

std::vector<std::string> EveryText() {
  SignalHistory h;
  h.StartSeries("Card");
  SignalSample s;
  s.timeMs = 1796637052123, s.lock = false, s.levelPct = 71.25, s.qualityPct = 80;
  s.rfDbm = -45.5, s.snrDb = 15.7f, s.ber = 0.00032f;
  h.Add(s);
  std::vector<std::string> texts = {LevelText(std::optional<float>(42.5f)), SnrText(15.7f),
                                    BerText(0.00032f), SampleSummary(s), SignalCsv(h)};
  for (const auto& t : SignalChart(Decimate(h, 0, 1, 10), 0, 2000, 600, 400).texts) {
    texts.push_back(t.text);
  }
  return texts;
}

// Guards a decimal comma in the window (where the process locale may be the
// desktop's) or in the CSV, which spreadsheets and scripts read.
TEST(DecimalCommaLocale, EveryFigureKeepsItsDecimalPoint) {
  const std::vector<std::string> inC = EveryText();
  EXPECT_EQ(inC[3],
            "Lock: no   Level: 71.25%   Quality: 80%\n"
            "RF level: -45.5 dBm   SNR: 15.70 dB   BER: 3.20e-04");
  EXPECT_EQ(inC[4],
            "time,device,lock,level_pct,quality_pct,rf_dbm,snr_db,ber,ts_mbps,ts_packets,cc_errors,"
            "sync_losses,tei_packets\n"
            "2026-12-07T09:50:52.123Z,Card,0,71.25,80,-45.5,15.7,0.00032,,,,,\n");
  const std::string c = std::setlocale(LC_ALL, nullptr);
  const std::locale cpp;
  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
      << "the locale de_DE.UTF-8 is missing (scripts/setup unit makes it)";
  std::locale::global(std::locale("de_DE.UTF-8"));
  char comma[16];
  std::snprintf(comma, sizeof comma, "%.2f", 1.5);
  const std::vector<std::string> inGerman = EveryText();
  std::setlocale(LC_ALL, c.c_str());
  std::locale::global(cpp);
  EXPECT_STREQ(comma, "1,50") << "the locale was not in force";
  EXPECT_EQ(inGerman, inC);
}

}  // namespace
