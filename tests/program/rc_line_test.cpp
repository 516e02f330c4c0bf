// Remote-control code decoding where no scenario reaches: every RC-5 field
// mask and shift (the virtual remote sends few codes), and a null code
// pointer from the library, which must not be read.
#include "remote/rc_line.h"

#include <gtest/gtest.h>

namespace {

// Guards a wrong mask or shift per field; the toggle is bit 11 or bit 15.
TEST(Rc5Decode, FollowsTheInfraredFrameLayout) {
  struct Case {
    uint16_t word;
    unsigned device, key;
    int toggle;
  } cases[] = {
      {0x394C, 5, 0x0C, 1},  // both start bits, toggle, device 5, key 0C
      {0x314C, 5, 0x0C, 0},  // the same key with the toggle clear
      {0x8000, 0, 0x00, 1},  // bit 15 alone counts as the toggle
      {0x0800, 0, 0x00, 1},  {0x3000, 0, 0x00, 0},  {0x303F, 0, 0x3F, 0},
      {0x37C0, 31, 0x00, 0},  // all address bits, no command bit
      {0x0040, 1, 0x00, 0},  {0x7FFF, 31, 0x3F, 1}, {0x4000, 0, 0x00, 0},
  };
  for (const Case& c : cases) {
    const Rc5Fields f = DecodeRc5(c.word);
    EXPECT_EQ(f.device, c.device) << std::hex << c.word;
    EXPECT_EQ(f.key, c.key) << std::hex << c.word;
    EXPECT_EQ(f.toggle, c.toggle) << std::hex << c.word;
  }
}

// Guards a null code read instead of logged as the bare prefix.
TEST(RcLines, NullCodeLogsThePrefixAloneInsteadOfReadingIt) {
  EXPECT_EQ(RcRawLine(nullptr, 4), "RC RAW:");
  EXPECT_EQ(Rc5Line(nullptr, 2), "RC5:");
  EXPECT_EQ(Rc5Line(nullptr, 1), "RC5:");
  EXPECT_EQ(Rc6Line(nullptr, 8), "RC6:");
}

}  // namespace
