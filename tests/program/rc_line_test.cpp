// Received remote-control codes as log lines, and what each code type hands
// the library when reception is switched on.
#include "remote/rc_line.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

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

TEST(RcLines, Rc5ByKind) {
  struct Case {
    uint32_t kind;
    std::vector<uint8_t> bytes;  // the code as it lies in memory
    const char* line;
  };
  auto word = [](uint16_t w) {
    std::vector<uint8_t> b(2);
    std::memcpy(b.data(), &w, 2);
    return b;
  };
  const Case cases[] = {
      {1, {0x1C}, "RC5: Key=1C"},
      {1, {0xFF}, "RC5: Key=FF"},  // the whole byte, not a six-bit field
      {2, word(0x394C), "RC5:394C - Dev=05 Key=0C Toggle=1"},
      {2, word(0x8000), "RC5:8000 - Dev=00 Key=00 Toggle=1"},
      {2, word(0x314C), "RC5:314C - Dev=05 Key=0C Toggle=0"},
      {2, word(0x000A), "RC5:000A - Dev=00 Key=0A Toggle=0"},  // four digits, leading zeros
      {2, word(0xFFFF), "RC5:FFFF - Dev=1F Key=3F Toggle=1"},
      {3, {0x39, 0x4C, 0, 0}, "RC5:"},
      {0, {0x39, 0x4C}, "RC5:"},
      {8, {1, 2, 3, 4}, "RC5:"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Rc5Line(c.bytes.data(), c.kind), c.line) << "kind " << c.kind;
  }
}

TEST(RcLines, Rc6ByKind) {
  const uint16_t w16 = 0x0A0B;
  const uint32_t w32 = 0x800F0416;
  const uint8_t b = 0x0C;
  EXPECT_EQ(Rc6Line(&b, 1), "RC6: 0C");
  EXPECT_EQ(Rc6Line(&w16, 2), "RC6: 0A0B");
  EXPECT_EQ(Rc6Line(&w32, 8), "RC6: 800F0416");
  EXPECT_EQ(Rc6Line(&w32, 4), "RC6:");
  EXPECT_EQ(Rc6Line(&w32, 0), "RC6:");
}

TEST(RcLines, RawBytes) {
  const uint8_t bytes[] = {0x12, 0xAB, 0x00, 0x0F};
  EXPECT_EQ(RcRawLine(bytes, 3), "RC RAW: 12 AB 00");
  EXPECT_EQ(RcRawLine(bytes, 0), "RC RAW:");
  EXPECT_EQ(RcRawLine(bytes, 1), "RC RAW: 12");
  std::vector<uint8_t> many(300, 0xEE);
  const std::string line = RcRawLine(many.data(), 300);
  EXPECT_EQ(line.size(), 7u + 300 * 3);
  EXPECT_EQ(line.substr(line.size() - 6), " EE EE");
}

TEST(RcLines, NullCodeLogsThePrefixAloneInsteadOfReadingIt) {
  EXPECT_EQ(RcRawLine(nullptr, 4), "RC RAW:");
  EXPECT_EQ(Rc5Line(nullptr, 2), "RC5:");
  EXPECT_EQ(Rc5Line(nullptr, 1), "RC5:");
  EXPECT_EQ(Rc6Line(nullptr, 8), "RC6:");
}

TEST(RcCodeTypes, RowsOfTheTypeList) {
  struct Row {
    int32_t index;
    uint32_t typeCode;
    QvRcCallback callback;
    const char* enabled;
    const char* failed;
  } rows[] = {
      {0, 0, RcRawCallback, "RAW RC enabled.", "SetRemoteControl() for RAW RC failed !"},
      {1, 1, Rc5Callback, "RC5 enabled.", "SetRemoteControl() for RC5 failed !"},
      {2, 1, Rc6Callback, "RC6 enabled.", "SetRemoteControl() for RC6 failed !"},
  };
  for (const Row& r : rows) {
    const RcCodeType* t = FindRcCodeType(r.index);
    ASSERT_NE(t, nullptr) << r.index;
    EXPECT_EQ(t->typeCode, r.typeCode) << r.index;
    EXPECT_EQ(t->callback, r.callback) << r.index;
    EXPECT_STREQ(t->enabledText, r.enabled);
    EXPECT_STREQ(t->failedText, r.failed);
  }
  EXPECT_EQ(FindRcCodeType(-1), nullptr);
  EXPECT_EQ(FindRcCodeType(3), nullptr);
  EXPECT_FALSE(RcTypeTakesDevice(0));
  EXPECT_TRUE(RcTypeTakesDevice(1));
  EXPECT_FALSE(RcTypeTakesDevice(2));
  EXPECT_FALSE(RcTypeTakesDevice(-1));
}

TEST(RcCodeTypes, DeviceFilterFromTheDeviceList) {
  const RcCodeType& raw = *FindRcCodeType(0);
  const RcCodeType& rc5 = *FindRcCodeType(1);
  const RcCodeType& rc6 = *FindRcCodeType(2);
  struct Case {
    const RcCodeType& type;
    int32_t devIndex;
    uint32_t filter;
  } cases[] = {
      {rc5, 0, 0xFFFF},                      // "ALL"
      {rc5, 1, 0x0000},                      // "00"
      {rc5, 6, 0x0005},  {rc5, 32, 0x001F},  // "1F"
      {rc5, -1, 0xFFFF},                     // no entry chosen: all, not 0xFFFE
      {raw, 0, 0xFFFF},  {raw, 32, 0xFFFF}, {raw, 6, 0xFFFF}, {rc6, 6, 0xFFFF},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RcDeviceFilter(c.type, c.devIndex), c.filter) << c.devIndex;
  }
}

}  // namespace
