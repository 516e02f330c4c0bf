// Signal figures and remote-control codes as the program shows them.
#include <gtest/gtest.h>
#include <linux/dvb/frontend.h>
#include <linux/lirc.h>

#include "call_notes.h"
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

  EXPECT_EQ(QualityPercent(Decibel(13000)), 52);
  EXPECT_EQ(QualityPercent(Decibel(25000)), 100);
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

// Guards against a division by zero bits counted.
TEST(SignalScale, BitErrorRatioNeedsCountedBits) {
  EXPECT_FLOAT_EQ(BitErrorRatio(Counter(5), Counter(1000000)), 5e-6f);
  EXPECT_EQ(BitErrorRatio(Counter(0), Counter(0)), 0.0f);
  EXPECT_EQ(BitErrorRatio(Counter(7), Stat{}), 0.0f);
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
  EXPECT_EQ(f.qualityPercent, 52);
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
