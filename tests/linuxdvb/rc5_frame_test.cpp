#include "rc5_frame.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

// Reads a pulse train back the way a receiver samples it: the line level in
// the middle of every half bit, then Manchester pairs (space, pulse) = 1.
std::optional<uint16_t> Decode(const std::vector<uint32_t>& train) {
  std::vector<bool> halves{false};  // the idle first half of S1
  bool pulse = true;
  for (uint32_t d : train) {
    if (d % rc5::kHalfBitUs != 0) return std::nullopt;
    halves.insert(halves.end(), d / rc5::kHalfBitUs, pulse);
    pulse = !pulse;
  }
  halves.resize(2 * rc5::kFrameBits, false);  // the line stays idle afterwards
  uint16_t word = 0;
  for (int bit = 0; bit < rc5::kFrameBits; ++bit) {
    const bool first = halves[2 * bit], second = halves[2 * bit + 1];
    if (first == second) return std::nullopt;  // no mid-bit transition
    word = static_cast<uint16_t>((word << 1) | (second ? 1 : 0));
  }
  return word;
}

// Guards against wrong timings or a wrong start, toggle or RC-5X bit.
TEST(Rc5Frame, KnownFrameAndCodeWords) {
  // Address 5, command 12, toggle 0: bits 1 1 0 00101 001100.
  const std::vector<uint32_t> halfBits = {1, 1, 2, 1, 1, 1, 1, 2, 2, 2, 2, 1, 1, 2, 1, 1, 2, 1, 1};
  std::vector<uint32_t> expected;
  for (uint32_t n : halfBits) expected.push_back(n * 889);
  EXPECT_EQ(rc5::PulseTrain({5, 12, false}), expected);
  EXPECT_EQ(rc5::CodeWord({5, 12, false}), 0x314C);
  EXPECT_EQ(rc5::CodeWord({5, 12, true}), 0x394C);
  EXPECT_EQ(rc5::CodeWord({31, 63, true}), 0x3FFF);
  // Extended commands: the second start bit is the inverted command bit 6.
  EXPECT_EQ(rc5::CodeWord({5, 76, false}), 0x214C);
  EXPECT_EQ(rc5::CodeWord({0, 64, false}), 0x2000);
}

// Guards against any code's train not carrying its code word on the line.
TEST(Rc5Frame, EveryCodeDecodesBackAndIsAWellFormedTrain) {
  for (unsigned address = 0; address < 32; ++address) {
    for (unsigned command = 0; command < 128; ++command) {
      for (bool toggle : {false, true}) {
        const rc5::Frame frame{static_cast<uint8_t>(address), static_cast<uint8_t>(command),
                               toggle};
        const auto train = rc5::PulseTrain(frame);
        ASSERT_TRUE(train);
        SCOPED_TRACE(testing::Message() << address << ":" << command << " toggle " << toggle);
        // Pulse first and last, so an odd count, as LIRC_MODE_PULSE wants.
        ASSERT_EQ(train->size() % 2, 1u);
        for (uint32_t d : *train) ASSERT_TRUE(d == 889 || d == 1778) << d;
        const uint32_t total = std::accumulate(train->begin(), train->end(), 0u);
        ASSERT_LE(total, 27u * 889);
        ASSERT_GE(total, 26u * 889);
        ASSERT_EQ(Decode(*train), rc5::CodeWord(frame));
      }
    }
  }
}

// Guards against out-of-range fields sent as another code and loose parsing.
TEST(Rc5Frame, ParsesAddressAndCommandAndRefusesOutOfRange) {
  EXPECT_FALSE(rc5::CodeWord({32, 0, false}));
  EXPECT_FALSE(rc5::PulseTrain({0, 128, true}));
  const auto decimal = rc5::ParseFrame("5:12");
  ASSERT_TRUE(decimal);
  EXPECT_EQ(decimal->address + decimal->command * 100, 1205);
  const auto hex = rc5::ParseFrame("0x1F:0x7F");
  ASSERT_TRUE(hex);
  EXPECT_EQ(hex->address + hex->command * 100, 12731);
  for (const char* bad :
       {"", "5", "5:", ":12", "32:1", "1:128", "-1:2", "5:12x", "5:+1", "99999999999999999999:1"}) {
    EXPECT_FALSE(rc5::ParseFrame(bad)) << bad;
  }
}

}  // namespace
