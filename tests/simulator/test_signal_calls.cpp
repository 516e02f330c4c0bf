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

// Guards against signal entry points that disagree on one measurement.
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

// Guards against a refused tune that retunes and SetChannel generations differing.
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

}  // namespace
