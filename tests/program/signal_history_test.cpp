// The signal history: the ring, its series, decimation, the CSV and the
// chart's mapping from samples to pixels.
#include "tuning/signal_history.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tuning/signal_chart.h"
#include "tuning/signal_clock.h"
#include "tuning/signal_csv.h"

namespace {

SignalSample At(int64_t t, std::optional<bool> lock, std::optional<double> level) {
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

// Guards the ring's wrap: an index off by the head, a binary search over the
// seam, and a bucket that reads the overwritten slot.
TEST(SignalHistory, PastItsCapacityStaysOrderedSearchableAndDecimatesOverTheSeam) {
  for (size_t capacity : {size_t{1}, size_t{2}, size_t{5}, size_t{7}}) {
    for (int added = 0; added < 24; ++added) {
      SCOPED_TRACE(std::to_string(capacity) + " " + std::to_string(added));
      SignalHistory ring(capacity), flat(64);
      ring.StartSeries("A"), flat.StartSeries("A");
      for (int t = 0; t < added; ++t) {
        if (t == 9) ring.StartSeries("B"), flat.StartSeries("B");
        ring.Add(At(t * 10, t % 3 != 0, t));
        if (t >= added - static_cast<int>(capacity)) flat.Add(At(t * 10, t % 3 != 0, t));
      }
      ASSERT_EQ(ring.Size(), flat.Size());
      for (size_t i = 0; i < ring.Size(); ++i) {
        EXPECT_EQ(ring.At(i).timeMs, flat.At(i).timeMs);
        EXPECT_EQ(ring.Device(ring.At(i).series), flat.Device(flat.At(i).series));
      }
      for (int64_t t = -5; t < added * 10 + 5; t += 5) {
        EXPECT_EQ(ring.FirstAtOrAfter(t), flat.FirstAtOrAfter(t)) << t;
      }
      for (size_t buckets : {1, 2, 3}) {
        const auto a = Decimate(ring, 0, ring.Size(), buckets);
        const auto b = Decimate(flat, 0, flat.Size(), buckets);
        ASSERT_EQ(a.size(), b.size());
        for (size_t i = 0; i < a.size(); ++i) {
          EXPECT_EQ(a[i].timeMs, b[i].timeMs);
          EXPECT_EQ(a[i].levelPct, b[i].levelPct);
          EXPECT_EQ(a[i].lock, b[i].lock);
        }
      }
    }
  }
  SignalHistory day;  // the full size, twice over and a bit
  day.StartSeries("A");
  const size_t n = 2 * SignalHistory::kDefaultCapacity + 3;
  for (size_t t = 0; t < n; ++t) day.Add(At(static_cast<int64_t>(t), true, 1));
  ASSERT_EQ(day.Size(), SignalHistory::kDefaultCapacity);
  EXPECT_EQ(day.At(0).timeMs, static_cast<int64_t>(n - SignalHistory::kDefaultCapacity));
  EXPECT_EQ(day.FirstAtOrAfter(static_cast<int64_t>(n) - 1), day.Size() - 1);
  EXPECT_EQ(day.FirstAtOrAfter(0), 0u);
}

// Guards a name list that grows with every device start while the ring
// drops old samples (a switch at every poll, for days).
TEST(SignalHistory, DeviceNamesAreKeptOnlyForTheSeriesStillInTheRing) {
  SignalHistory h(4);
  for (int i = 0; i < 10000; ++i) {
    h.StartSeries("Card " + std::to_string(i));
    if (i % 3 != 2) h.Add(At(i, true, 1));  // some starts never poll
    ASSERT_LE(h.SeriesKept(), 5u);
  }
  for (size_t i = 0; i < h.Size(); ++i) {
    EXPECT_EQ(h.Device(h.At(i).series), "Card " + std::to_string(h.At(i).timeMs));
  }
  EXPECT_EQ(h.Device(1), "");  // long gone
  h.StartSeries("Last");
  h.Add(At(20000, true, 1));
  EXPECT_EQ(h.Device(h.At(h.Size() - 1).series), "Last");
}

// Guards stamps that follow the wall clock back (unordered ring, wrong
// search) or lose the monotonic time in between.
TEST(SampleClock, StampsNeverGoBackWhateverTheWallClockDoes) {
  const struct {
    int64_t wall, steady;
    bool newSeries;
    int64_t stamp;
  } steps[] = {
      {1000, 50, false, 1000},  // the first sample takes the wall clock
      {3000, 2050, false, 3000},
      {-500000, 4050, false, 5000},  // the clock set back an hour: still counting on
      {9999999, 6050, false, 7000},  // and forward: shows at the next series
      {2000, 8050, true, 9000},      // a new series on a clock behind the last stamp
      {2000, 8050, false, 9000},     // the same instant twice is allowed
      {50000, 9050, true, 50000},    // a new series reads the wall clock again
      {50000, 9000, false, 50000},   // a monotonic clock that stepped back holds
  };
  SampleClock clock;
  for (const auto& s : steps) {
    if (s.newSeries) clock.StartSeries();
    EXPECT_EQ(clock.Stamp(s.wall, s.steady), s.stamp) << s.wall << " " << s.steady;
  }
}

TEST(SignalHistory, DecimationAveragesKeepsLossesAndMarksAndNeverMixesSeries) {
  SignalHistory h;
  h.StartSeries("A");
  for (int t = 0; t < 8; ++t) {
    if (t == 2) h.MarkTune();
    h.Add(At(t, t != 5, t < 4 ? std::optional<double>(t) : std::nullopt));
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
            "time,device,lock,level_pct,quality_pct,rf_dbm,snr_db,ber,ts_mbps,ts_packets,cc_errors,"
            "sync_losses,tei_packets\n"
            "1970-01-01T00:00:01.000Z,\"Card, \"\"one\"\"\",1,68,78,-45,15.7,0.00032,,,,,\n"
            "1970-01-01T00:00:03.000Z,\"Card, \"\"one\"\"\",,42.5,,,,,,,,,\n");
  std::filesystem::remove(path);
  EXPECT_EQ(WriteSignalCsv(h, path + "/missing/x.csv"), std::nullopt);
}

TEST(SignalChart, AxesRowsColumnsGapsAndLockSpans) {
  const ChartAxis fallback{-100, 0};
  std::vector<SignalSample> s = {At(0, true, 10), At(10, true, std::nullopt), At(20, false, 30),
                                 At(30, true, 40)};
  const auto axis = [&](const std::vector<SignalSample>& samples) {
    return AxisFor(samples, &SignalSample::levelPct, 10, fallback, kRfBounds);
  };
  EXPECT_EQ(axis({}), fallback);
  EXPECT_EQ(axis(s), (ChartAxis{10, 40}));
  EXPECT_EQ(axis({At(0, {}, -47), At(1, {}, -43)}), (ChartAxis{-50, -40}));
  EXPECT_EQ(axis({At(0, {}, -40)}), (ChartAxis{-40, -30}));
  // A figure no receiver reports leaves the axis to the others (and is drawn
  // at the edge); with nothing else the fallback stands.
  EXPECT_EQ(axis({At(0, {}, -1e30f), At(1, {}, -43), At(2, {}, INFINITY), At(3, {}, NAN)}),
            (ChartAxis{-50, -40}));
  EXPECT_EQ(axis({At(0, {}, -2147483648.0), At(1, {}, 2147483647.0)}), fallback);

  const ChartPane pane{10, 20, 101, 51};  // rows 20..70, columns 10..110
  const struct {
    ChartAxis axis;
    float value;
    int row;
  } rows[] = {{{0, 100}, 0, 70},           {{0, 100}, 100, 20},        {{0, 100}, 50, 45},
              {{0, 100}, 150, 20},         {{-8, 0, true}, 1e-4f, 45}, {{-8, 0, true}, 0, 70},
              {{-8, 0, true}, 1e-12f, 70}, {{-8, 0, true}, 1, 20}};
  for (const auto& r : rows) EXPECT_EQ(ToY(r.axis, r.value, pane), r.row) << r.value;
  // Values a library may report: held at the edges, never converted as they are.
  const struct {
    double value;
    int row;
  } odd[] = {{INFINITY, 20}, {-INFINITY, 70}, {NAN, 70}, {-1e30, 70}, {3e38, 20}, {1e300, 20}};
  for (const auto& r : odd) EXPECT_EQ(ToY({-50, -40}, r.value, pane), r.row) << r.value;
  EXPECT_EQ(ToY({5, 5}, 5, pane), 70);  // an empty axis
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
