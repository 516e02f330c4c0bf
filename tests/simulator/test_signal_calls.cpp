// Tuning and the signal entry points through the library's exports: what a
// program polling every two seconds sees after a tune.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "sim_loader.h"

namespace {

using simtest::SimLib;

const char* const kQuiet = R"({"sky": {"noise_db": 0}})";

struct Poll {
  QvStatistic st{0, 0, 0, 0};
  int32_t lock = 0, rf = 0;
  float snr = 0, ber = 0;
};

Poll PollOnce(const SimLib& lib) {
  Poll p;
  uint32_t reserved = 0;
  EXPECT_EQ(SIM_FN(lib, Statistic)(&p.st), 1);
  EXPECT_EQ(SIM_FN(lib, GetSignalExEx)(&reserved, &p.lock, &p.rf, &p.snr, &p.ber), 1);
  return p;
}

int32_t TuneDefault(const SimLib& lib, uint32_t mhz = 10722, uint32_t ksym = 27500) {
  return SIM_FN(lib, SetChannelExEx)(mhz * 1000, ksym * 1000, 0, 0, 9750000, 10600000, 11700000, 0,
                                     0, 0, 0);
}

TEST(SignalCalls, ListedTransponderLocksWithinTwoPollsAndEmptyFrequencyNever) {
  SimLib lib;
  ASSERT_EQ(SIM_FN(lib, StartDVB)(), 1);
  ASSERT_EQ(TuneDefault(lib), 1);
  bool locked = false;
  for (int poll = 0; poll < 2 && !locked; ++poll) locked = PollOnce(lib).st.lock == 1;
  EXPECT_TRUE(locked);
  const Poll p = PollOnce(lib);
  EXPECT_EQ(p.st.present, 1);
  EXPECT_EQ(p.lock, 1);
  EXPECT_GT(p.snr, 10.0f);
  EXPECT_LT(p.ber, 0.01f);
  EXPECT_GT(p.st.level, 40);
  EXPECT_GT(p.st.quality, 40);

  ASSERT_EQ(TuneDefault(lib, 11000), 1);  // a tunable frequency with nothing there
  for (int poll = 0; poll < 5; ++poll) {
    const Poll q = PollOnce(lib);
    EXPECT_EQ(q.st.lock, 0);
    EXPECT_EQ(q.st.present, 0);
    EXPECT_EQ(q.lock, 0);
    EXPECT_EQ(q.rf, -100);
  }
}

TEST(SignalCalls, EveryEntryPointReadsTheSameMeasurement) {
  SimLib lib;  // default noise, so a mismatch between entry points would show
  ASSERT_EQ(SIM_FN(lib, StartDVB)(), 1);
  ASSERT_EQ(TuneDefault(lib), 1);
  for (int poll = 0; poll < 4; ++poll) {
    QvStatistic st{};
    int32_t level = 0, quality = 0, quality2 = 0, lock = 0, rf = 0;
    float flevel = 0, snr = 0, ber = 0, snr2 = 0, ber2 = 0;
    ASSERT_EQ(SIM_FN(lib, Statistic)(&st), 1);
    ASSERT_EQ(SIM_FN(lib, GetSignal)(&level, &quality), 1);
    ASSERT_EQ(SIM_FN(lib, GetSignalStrength)(&flevel, &quality2), 1);
    ASSERT_EQ(SIM_FN(lib, GetSignalEx)(&snr, &ber), 1);
    ASSERT_EQ(SIM_FN(lib, GetSignalExEx)(nullptr, &lock, &rf, &snr2, &ber2), 1);
    EXPECT_EQ(st.level, level);
    EXPECT_EQ(level, static_cast<int32_t>(std::lround(flevel)));
    EXPECT_EQ(st.quality, quality);
    EXPECT_EQ(quality, quality2);
    EXPECT_EQ(snr, snr2);
    EXPECT_EQ(ber, ber2);
    EXPECT_EQ(st.lock, lock);
  }
}

TEST(SignalCalls, RefusedTuneKeepsThePreviousOne) {
  SimLib lib("", kQuiet);
  ASSERT_EQ(SIM_FN(lib, StartDVB)(), 1);
  ASSERT_EQ(TuneDefault(lib), 1);
  const Poll before = PollOnce(lib);
  ASSERT_EQ(before.lock, 1);
  struct Case {
    const char* what;
    uint32_t freq, sr, pol, fec, lofLow, lofHigh, lofSwitch, modulation, inversion, pilot, rollOff;
  } cases[] = {
      {"0 MHz", 0, 27500000, 0, 0, 9750000, 10600000, 11700000, 0, 0, 0, 0},
      {"IF over 2150 MHz", 13000000, 27500000, 0, 0, 9750000, 10600000, 11700000, 0, 0, 0, 0},
      {"polarisation 2", 10722000, 27500000, 2, 0, 9750000, 10600000, 11700000, 0, 0, 0, 0},
      {"roll-off 4", 10722000, 27500000, 0, 0, 9750000, 10600000, 11700000, 0, 0, 0, 4},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(
        SIM_FN(lib, SetChannelExEx)(c.freq, c.sr, c.pol, c.fec, c.lofLow, c.lofHigh, c.lofSwitch,
                                    c.modulation, c.inversion, c.pilot, c.rollOff),
        0)
        << c.what;
    const Poll after = PollOnce(lib);
    EXPECT_EQ(after.lock, 1) << c.what;
    EXPECT_EQ(after.snr, before.snr) << c.what;
  }
  // A symbol rate given in kS/s is tuned, and finds no carrier to lock.
  EXPECT_EQ(SIM_FN(lib, SetChannel)(10722000, 27500, 0, 0, 9750000, 10600000, 11700000), 1);
  EXPECT_EQ(PollOnce(lib).lock, 0);
  // The older generations tune alike.
  EXPECT_EQ(SIM_FN(lib, SetChannel)(10758000, 27500000, 0, 3, 9750000, 10600000, 11700000), 1);
  EXPECT_EQ(PollOnce(lib).lock, 1);
  EXPECT_EQ(SIM_FN(lib, SetChannelEx)(10758000, 27500000, 0, 3, 9750000, 10600000, 11700000, 2), 1);
  EXPECT_EQ(PollOnce(lib).lock, 0) << "8PSK asked on a QPSK carrier";
}

TEST(SignalCalls, TerrestrialDeviceTunesByFrequencyAlone) {
  SimLib lib("", kQuiet);
  ASSERT_EQ(SIM_FN(lib, StartDVBEx)(2), 1);
  EXPECT_EQ(TuneDefault(lib), 0) << "10722 MHz is beyond a terrestrial tuner";
  EXPECT_EQ(SIM_FN(lib, SetChannel)(474000, 0, 1, 7, 0, 0, 0), 1);
  EXPECT_EQ(PollOnce(lib).lock, 1);
  EXPECT_EQ(SIM_FN(lib, SetChannel)(482000, 27500000, 0, 0, 9750000, 10600000, 11700000), 1);
  EXPECT_EQ(PollOnce(lib).lock, 1);
  EXPECT_EQ(SIM_FN(lib, SetChannel)(483000, 27500000, 0, 0, 9750000, 10600000, 11700000), 1);
  const Poll off = PollOnce(lib);
  EXPECT_EQ(off.st.present, 1);
  EXPECT_EQ(off.lock, 0);
  // Switching devices forgets the tune.
  ASSERT_EQ(SIM_FN(lib, StartDVBEx)(1), 1);
  EXPECT_EQ(PollOnce(lib).st.present, 0);
}

TEST(SignalCalls, SeedMakesTheNoiseRepeatableAndZeroNoiseIsSteady) {
  auto run = [](const std::string& config) {
    SimLib lib("", config);
    EXPECT_EQ(SIM_FN(lib, StartDVB)(), 1);
    EXPECT_EQ(TuneDefault(lib), 1);
    std::vector<float> snrs;
    for (int poll = 0; poll < 5; ++poll) snrs.push_back(PollOnce(lib).snr);
    return snrs;
  };
  const auto a = run(R"({"seed": 11})");
  EXPECT_EQ(run(R"({"seed": 11})"), a);
  EXPECT_NE(run(R"({"seed": 12})"), a);
  const auto quiet = run(kQuiet);
  for (float snr : quiet) EXPECT_EQ(snr, quiet.front());
}

TEST(SignalCalls, BadSkySectionFallsBackToTheDefaults) {
  for (const char* config : {R"({"sky": 3})", R"({"sky": {"noise_db": -1}})",
                             R"({"sky": {"noise_db": "0"}})", R"({"sky": {"noise_db": 11}})"}) {
    SimLib lib("", config);
    const auto lines = lib.traceLines();
    ASSERT_FALSE(lines.empty()) << config;
    EXPECT_EQ(lines.front().rfind("# config: ", 0), 0u) << config;
    EXPECT_NE(lines.front().find("sky"), std::string::npos) << lines.front();
  }
}

}  // namespace
