// The signal history: the ring, its series, decimation, the CSV and the
// chart's mapping from samples to pixels.
#include "tuning/signal_history.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tuning/signal_chart.h"
#include "tuning/signal_csv.h"

namespace {

SignalSample At(int64_t t, std::optional<bool> lock, std::optional<float> level) {
  SignalSample s;
  s.timeMs = t, s.lock = lock, s.levelPct = level;
  return s;
}

TEST(SignalHistory, RingKeepsTheNewestAndSeriesCarryDeviceAndTuneMark) {
  SignalHistory h(3);
  h.StartSeries("A");
  h.MarkTune();
  for (int t = 1; t <= 2; ++t) h.Add(At(t, true, 1));
  h.MarkTune();
  h.StartSeries("B");  // a tune before a device start does not carry over
  for (int t = 3; t <= 5; ++t) h.Add(At(t, true, 1));
  ASSERT_EQ(h.Size(), 3u);
  EXPECT_EQ(h.At(0).timeMs, 3);
  EXPECT_EQ(h.At(2).timeMs, 5);
  EXPECT_EQ(h.Device(h.At(0).series), "B");
  EXPECT_FALSE(h.At(0).tuneMark);
  EXPECT_EQ(h.FirstAtOrAfter(4), 1u);
  EXPECT_EQ(h.FirstAtOrAfter(9), 3u);

  SignalHistory g;
  g.StartSeries("A");
  g.MarkTune();
  g.Add(At(1, true, 1));
  g.Add(At(2, true, 1));
  EXPECT_TRUE(g.At(0).tuneMark);
  EXPECT_FALSE(g.At(1).tuneMark);
}

TEST(SignalHistory, DecimationAveragesKeepsLossesAndMarksAndNeverMixesSeries) {
  SignalHistory h;
  h.StartSeries("A");
  for (int t = 0; t < 8; ++t) {
    if (t == 2) h.MarkTune();
    h.Add(At(t, t != 5, t < 4 ? std::optional<float>(static_cast<float>(t)) : std::nullopt));
  }
  h.StartSeries("B");
  for (int t = 8; t < 12; ++t) h.Add(At(t, true, 50));

  const std::vector<SignalSample> d = Decimate(h, 0, h.Size(), 3);
  ASSERT_EQ(d.size(), 3u);
  EXPECT_EQ(d[0].levelPct, 1.5f);  // 0..3
  EXPECT_TRUE(d[0].tuneMark);
  EXPECT_EQ(d[0].lock, true);
  EXPECT_EQ(d[1].levelPct, std::nullopt);  // 4..7: no level reported
  EXPECT_EQ(d[1].lock, false);             // a loss inside the bucket shows
  EXPECT_EQ(d[2].levelPct, 50.0f);
  EXPECT_NE(d[1].series, d[2].series);
  // A bucket that would span the boundary is cut there.
  const std::vector<SignalSample> e = Decimate(h, 4, h.Size(), 1);
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[1].timeMs, 8);
  EXPECT_EQ(Decimate(h, 0, h.Size(), 100).size(), h.Size());
}

TEST(SignalCsv, TimesAndRowsReadBackAsWritten) {
  const struct {
    int64_t ms;
    const char* text;
  } times[] = {{0, "1970-01-01T00:00:00.000Z"},
               {951782400001, "2000-02-29T00:00:00.001Z"},
               {1796637052123, "2026-12-07T09:50:52.123Z"},
               {-1, "1969-12-31T23:59:59.999Z"}};
  for (const auto& t : times) EXPECT_EQ(IsoTimeUtc(t.ms), t.text) << t.ms;

  SignalHistory h;
  h.StartSeries("Card, \"one\"");
  SignalSample full = At(1000, true, 68);
  full.qualityPct = 78, full.rfDbm = -45, full.snrDb = 15.7f, full.ber = 0.00032f;
  h.Add(full);
  h.Add(At(3000, std::nullopt, 42.5f));
  const std::string path =
      (std::filesystem::temp_directory_path() / "qv_signal_history_test.csv").string();
  ASSERT_EQ(WriteSignalCsv(h, path), 2u);
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(),
            "time,device,lock,level_pct,quality_pct,rf_dbm,snr_db,ber\n"
            "1970-01-01T00:00:01.000Z,\"Card, \"\"one\"\"\",1,68,78,-45,15.7,0.00032\n"
            "1970-01-01T00:00:03.000Z,\"Card, \"\"one\"\"\",,42.5,,,,\n");
  std::filesystem::remove(path);
  EXPECT_EQ(WriteSignalCsv(h, path + "/missing/x.csv"), std::nullopt);
}

TEST(SignalChart, AxesRowsColumnsGapsAndLockSpans) {
  const ChartAxis fallback{-100, 0};
  std::vector<SignalSample> s = {At(0, true, 10), At(10, true, std::nullopt), At(20, false, 30),
                                 At(30, true, 40)};
  EXPECT_EQ(AxisFor({}, &SignalSample::rfDbm, 10, fallback), fallback);
  EXPECT_EQ(AxisFor(s, &SignalSample::levelPct, 10, fallback), (ChartAxis{10, 40}));
  EXPECT_EQ(AxisFor({At(0, {}, -47), At(1, {}, -43)}, &SignalSample::levelPct, 10, fallback),
            (ChartAxis{-50, -40}));
  EXPECT_EQ(AxisFor({At(0, {}, -40)}, &SignalSample::levelPct, 10, fallback),
            (ChartAxis{-40, -30}));

  const ChartPane pane{10, 20, 101, 51};  // rows 20..70, columns 10..110
  const struct {
    ChartAxis axis;
    float value;
    int row;
  } rows[] = {{{0, 100}, 0, 70},           {{0, 100}, 100, 20},        {{0, 100}, 50, 45},
              {{0, 100}, 150, 20},         {{-8, 0, true}, 1e-4f, 45}, {{-8, 0, true}, 0, 70},
              {{-8, 0, true}, 1e-12f, 70}, {{-8, 0, true}, 1, 20}};
  for (const auto& r : rows) EXPECT_EQ(ToY(r.axis, r.value, pane), r.row) << r.value;
  EXPECT_EQ(ToX(0, 0, 100, pane), 10);
  EXPECT_EQ(ToX(50, 0, 100, pane), 60);
  EXPECT_EQ(ToX(-5, 0, 100, pane), 10);

  // The absent level breaks the line; so does a new series.
  s.push_back(At(40, true, 50));
  s.back().series = 1;
  const auto lines = Trace(s, &SignalSample::levelPct, {0, 100}, pane, 0, 100);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_TRUE(Trace({At(0, {}, NAN)}, &SignalSample::levelPct, {0, 100}, pane, 0, 1).empty());
  EXPECT_EQ(lines[0], (std::vector<fw::ChartPoint>{{10, 65}}));
  EXPECT_EQ(lines[1], (std::vector<fw::ChartPoint>{{30, 55}, {40, 50}}));
  // Locked from 0 to the unlocked sample at 20; again from 30, and the
  // series' last sample holds one column.
  EXPECT_EQ(LockSpans(s, pane, 0, 100),
            (std::vector<std::pair<int, int>>{{10, 30}, {40, 41}, {50, 51}}));
}

}  // namespace
