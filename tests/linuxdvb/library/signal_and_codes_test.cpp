// Signal figures and remote-control codes as the program shows them.
#include <gtest/gtest.h>
#include <linux/dvb/frontend.h>
#include <linux/lirc.h>

#include "ber_meter.h"
#include "call_notes.h"
#include "cnr_requirement.h"
#include "frontend_io.h"
#include "rc_codes.h"
#include "signal_scale.h"

namespace ldvb {
namespace {

Stat Decibel(int64_t milli) {
  Stat s;
  s.scale = FE_SCALE_DECIBEL, s.svalue = milli;
  return s;
}
Stat Relative(uint64_t v) {
  Stat s;
  s.scale = FE_SCALE_RELATIVE, s.uvalue = v;
  return s;
}
Stat Counter(uint64_t v) {
  Stat s;
  s.scale = FE_SCALE_COUNTER, s.uvalue = v;
  return s;
}

// Guards against a wrong divisor or clamp when scaling to percent.
TEST(SignalScale, PercentFromRelativeScalesOrFromDecibels) {
  struct Case {
    Stat strength;
    int32_t level;
  } levels[] = {{Relative(65535), 100}, {Relative(0), 0},
                {Relative(32768), 50},  {Decibel(-90000), 0},
                {Decibel(-95000), 0},   {Decibel(-60000), 50},
                {Decibel(-34000), 93},  {Decibel(-30000), 100},
                {Decibel(-10000), 100}, {Stat{}, 0}};
  for (const Case& c : levels) EXPECT_EQ(LevelPercent(c.strength), c.level) << c.strength.svalue;

  // Without the figure the carrier needs: 0 to 25 dB.
  EXPECT_EQ(QualityPercent(Decibel(13000)), 52);
  EXPECT_EQ(QualityPercent(Decibel(25000)), 100);
  EXPECT_EQ(QualityPercent(Decibel(13000), 8.0), 50);
  EXPECT_EQ(QualityPercent(Decibel(40000)), 100);
  EXPECT_EQ(QualityPercent(Decibel(-2000)), 0);
  EXPECT_EQ(QualityPercent(Relative(13107)), 20);
  // A counter is no quality figure.
  EXPECT_EQ(QualityPercent(Counter(5000)), 0);
}

// Guards against relative scales or driver garbage shown as decibels.
TEST(SignalScale, DecibelFiguresOnlyFromDecibelScales) {
  EXPECT_EQ(LevelDbm(Decibel(-34499)), -34);
  EXPECT_EQ(LevelDbm(Decibel(-34500)), -35);
  EXPECT_FALSE(LevelDbm(Relative(40000)));
  // A driver's arithmetic noise is no reading.
  EXPECT_FALSE(LevelDbm(Decibel(-1848553000)));
  EXPECT_EQ(LevelPercent(Decibel(-1848553000)), 0);
  EXPECT_EQ(LevelDbm(Decibel(-150000)), -150);
  EXPECT_FALSE(LevelDbm(Decibel(31000)));
  EXPECT_FALSE(SnrDb(Decibel(4000000)));
  EXPECT_EQ(QualityPercent(Decibel(4000000)), 0);
  EXPECT_FLOAT_EQ(*SnrDb(Decibel(12345)), 12.345f);
  EXPECT_FALSE(SnrDb(Relative(40000)));
}

// Guards against the BER as the average since the counters started (it then creeps with
// uptime), against a reset or a wrap read as a burst of errors, and a division by zero.
TEST(BerMeter, TheRateBetweenTwoReadsOfTheCounters) {
  constexpr uint64_t k32 = 1ull << 32;
  struct Case {
    BitCounts before, now;
    std::optional<double> ber;
  } pairs[] = {{{100, 1000000}, {110, 2000000}, 1e-5},          // 10 errors in a million bits
               {{5000, 90000000}, {5000, 100000000}, 0.0},      // no new error
               {{100, 1000000}, {100, 1000000}, std::nullopt},  // nothing counted: no rate
               {{9000, 80000000}, {3, 1000000}, 3e-6},          // both reset: since the reset
               {{7, k32 - 1000}, {17, 1000}, 10.0 / 2000},      // the 32-bit total wrapped
               {{k32 - 5, 1000}, {5, 3000}, 10.0 / 2000},       // the 32-bit error count wrapped
               {{7, ~0ull - 999}, {17, 1000}, 10.0 / 2000},     // a 64-bit wrap
               {{0, 1000}, {50, 1010}, std::nullopt}};          // more errors than bits
  for (const Case& c : pairs) {
    const std::optional<double> ber = BerBetween(c.before, c.now);
    ASSERT_EQ(ber.has_value(), c.ber.has_value()) << c.now.errors << "/" << c.now.total;
    if (ber) {
      EXPECT_DOUBLE_EQ(*ber, *c.ber) << c.now.errors << "/" << c.now.total;
    }
  }

  BerMeter m;
  EXPECT_FLOAT_EQ(m.Next(BitCounts{50, 10000000}), 5e-6f);  // first read: its quotient
  EXPECT_FLOAT_EQ(m.Next(BitCounts{60, 20000000}), 1e-6f);  // then the rate in between
  EXPECT_FLOAT_EQ(m.Next(BitCounts{60, 20000000}), 1e-6f);  // nothing new: the last rate
  EXPECT_FLOAT_EQ(m.Next(BitCounts{80, 30000000}), 2e-6f);
  EXPECT_EQ(m.Next(std::nullopt), 0.0f);                    // no counters (no lock)
  EXPECT_FLOAT_EQ(m.Next(BitCounts{90, 30000000}), 3e-6f);  // ... so a first read again
  m.Reset();
  EXPECT_EQ(m.Next(BitCounts{0, 0}), 0.0f);  // nothing counted at all
}

// Guards against quality graded on one fixed scale for every carrier, and against the
// table's figures out of order (a harder mode needing less C/N).
TEST(CnrRequirement, QualityIsTheMarginOverWhatTheCarrierNeeds) {
  struct Case {
    uint32_t system, modulation, fec;
    double db;
  } cases[] = {{SYS_DVBS, QPSK, FEC_3_4, 6.9},
               {SYS_DVBS, QAM_AUTO, FEC_AUTO, 6.9},
               {SYS_DVBS, QPSK, FEC_7_8, 8.5},
               {SYS_DVBS2, PSK_8, FEC_2_3, 6.6},
               {SYS_DVBS2, APSK_32, FEC_9_10, 16.1},
               {SYS_DVBS2, QPSK, FEC_AUTO, 4.0},
               {SYS_DVBS2, QAM_AUTO, FEC_AUTO, 7.9},
               {SYS_DVBT, QAM_64, FEC_2_3, 16.5},
               {SYS_DVBT, QAM_16, FEC_1_2, 8.8},
               {SYS_DVBT, QAM_AUTO, FEC_AUTO, 16.5},
               {SYS_DVBT2, QAM_256, FEC_2_3, 18.1},
               {SYS_DVBT2, QAM_64, FEC_3_5, 12.3},
               {SYS_DVBC_ANNEX_A, QAM_256, FEC_AUTO, 29.8},
               {SYS_DVBC_ANNEX_A, QAM_AUTO, FEC_NONE, 23.8}};
  for (const Case& c : cases) {
    const std::optional<double> db = RequiredCnrDb(c.system, c.modulation, c.fec);
    ASSERT_TRUE(db) << c.system << " " << c.modulation << " " << c.fec;
    EXPECT_DOUBLE_EQ(*db, c.db) << c.system << " " << c.modulation << " " << c.fec;
  }
  EXPECT_FALSE(RequiredCnrDb(SYS_ATSC, VSB_8, FEC_AUTO));
  // Each modulation needs more the weaker its code, and each code more on a denser
  // constellation.
  for (uint32_t system : {SYS_DVBS, SYS_DVBS2, SYS_DVBT, SYS_DVBT2}) {
    for (uint32_t mod : {QPSK, QAM_16, QAM_64, QAM_256, PSK_8})
      EXPECT_LE(*RequiredCnrDb(system, mod, FEC_1_2), *RequiredCnrDb(system, mod, FEC_5_6));
  }
  EXPECT_LT(*RequiredCnrDb(SYS_DVBT2, QAM_16, FEC_2_3), *RequiredCnrDb(SYS_DVBT2, QAM_64, FEC_2_3));

  EXPECT_EQ(GradedQuality(16.5, 16.5), 0);
  EXPECT_EQ(GradedQuality(21.5, 16.5), 50);
  EXPECT_EQ(GradedQuality(30.0, 16.5), 100);
  EXPECT_EQ(GradedQuality(3.0, 16.5), 0);
  // The figures of a poll use what the driver says it tuned.
  SignalReading r;
  r.status = FE_HAS_LOCK;
  r.cnr = Decibel(21500);
  r.system = SYS_DVBT, r.modulation = QAM_64, r.fec = FEC_2_3;
  EXPECT_EQ(Figures(r).qualityPercent, 50);
  r.system = SYS_DVBS;
  EXPECT_EQ(Figures(r).qualityPercent, 100);
}

// Guards against lock read from the wrong status bit.
TEST(SignalScale, LockAndPresenceComeFromTheStatus) {
  SignalReading r;
  r.status = FE_HAS_SIGNAL | FE_HAS_CARRIER;
  r.strength = Decibel(-55000);
  SignalFigures f = Figures(r);
  EXPECT_TRUE(f.present);
  EXPECT_FALSE(f.lock);
  EXPECT_EQ(f.rfLevelDbm, -55);
  r.status |= FE_HAS_VITERBI | FE_HAS_SYNC | FE_HAS_LOCK;
  r.cnr = Decibel(13000);
  f = Figures(r);
  EXPECT_TRUE(f.lock);
  EXPECT_FLOAT_EQ(f.snrDb, 13.0f);
  EXPECT_EQ(f.qualityPercent, 52);  // no system reported: the plain scale
  r.strength = Stat{};
  EXPECT_FALSE(Figures(r).rfLevelDbm);
}

// Guards against a failed ioctl that leaves no reason in the call's trace line.
TEST(FrontendIo, AFailedIoctlNotesErrnoText) {
  qvabi::CallNotes notes;
  EXPECT_FALSE(SetProperties(-1, {}));
  EXPECT_EQ(notes.text(), "FE_SET_PROPERTY failed: Bad file descriptor");
}

// Guards against a misplaced toggle or RC-5X bit, and other protocols as RC-5.
TEST(RcCodes, Rc5WordsCarryStartBitsToggleAddressAndCommand) {
  struct Case {
    Scancode code;
    std::optional<uint16_t> word;
  } cases[] = {
      {{RC_PROTO_RC5, 0x050C, true}, 0x394C},  // the worked example: Dev=05 Key=0C Toggle=1
      {{RC_PROTO_RC5, 0x050C, false}, 0x314C},
      {{RC_PROTO_RC5, 0x1F3F, false}, 0x37FF},
      {{RC_PROTO_RC5, 0x0000, false}, 0x3000},
      // RC-5X: the seventh command bit travels inverted in the second start bit.
      {{RC_PROTO_RC5, 0x054C, false}, 0x214C},
      {{RC_PROTO_NEC, 0x050C, false}, std::nullopt},
      {{RC_PROTO_RC6_0, 0x050C, false}, std::nullopt}};
  for (const Case& c : cases) EXPECT_EQ(Rc5Word(c.code), c.word) << std::hex << c.code.scancode;
}

// Guards against a device filter compared on too few or too many bits.
TEST(RcCodes, TheDeviceFilterSelectsOneAddress) {
  const uint16_t dev5 = *Rc5Word({RC_PROTO_RC5, 0x050C, false});
  const uint16_t dev31 = *Rc5Word({RC_PROTO_RC5, 0x1F01, true});
  EXPECT_TRUE(PassesDeviceFilter(dev5, 0xFFFF));
  EXPECT_TRUE(PassesDeviceFilter(dev31, 0xFFFF));
  EXPECT_TRUE(PassesDeviceFilter(dev5, 0x0005));
  EXPECT_FALSE(PassesDeviceFilter(dev31, 0x0005));
  EXPECT_TRUE(PassesDeviceFilter(dev31, 0x001F));
  EXPECT_FALSE(PassesDeviceFilter(dev5, 0x0025));  // no address has six bits
}

// Guards against RAW bytes in the wrong order or with leading zero bytes.
TEST(RcCodes, RawBytesAreTheScancodeMostSignificantFirst) {
  EXPECT_EQ(RawBytes(0x050C), (std::vector<uint8_t>{0x05, 0x0C}));
  EXPECT_EQ(RawBytes(0x0000), (std::vector<uint8_t>{0x00, 0x00}));
  EXPECT_EQ(RawBytes(0x012345), (std::vector<uint8_t>{0x01, 0x23, 0x45}));
  EXPECT_EQ(RawBytes(0x80C1A2B3), (std::vector<uint8_t>{0x80, 0xC1, 0xA2, 0xB3}));
  EXPECT_EQ(RawBytes(0x0100000000ull).size(), 8u);
}

}  // namespace
}  // namespace ldvb
