// The EEPROM model on its own: the checksum, the factory content a device
// leaves the factory with, and the file that keeps images across restarts.
#include "eeprom_image.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace qvsim;
using Bytes = std::vector<uint8_t>;

TEST(EepromChecksum, IsTheStandardCrc32) {
  // The published check values of CRC-32 (as zip and Ethernet use it).
  const char* check = "123456789";
  EXPECT_EQ(crc32(reinterpret_cast<const uint8_t*>(check), 9), 0xCBF43926u);
  EXPECT_EQ(crc32(nullptr, 0), 0u);
  const uint8_t zeros[4] = {};
  EXPECT_EQ(crc32(zeros, 4), 0x2144DF1Cu);
}

uint32_t Le(const Bytes& b, size_t at, size_t width) {
  uint32_t v = 0;
  for (size_t i = 0; i < width; ++i) v |= static_cast<uint32_t>(b[at + i]) << (8 * i);
  return v;
}

std::string Text(const Bytes& b, size_t at, size_t field) {
  const auto begin = b.begin() + static_cast<long>(at);
  const auto end = std::find(begin, begin + static_cast<long>(field), 0);
  EXPECT_NE(end, begin + static_cast<long>(field)) << "field not NUL-terminated";
  return std::string(begin, end);
}

TEST(EepromImage, FactoryContentDescribesTheDevice) {
  struct Case {
    DeviceConfig device;
    std::string serial, name;
  } cases[] = {
      {{1, "Quorvex S2 Virtual", 2, 0x18FE, {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}},
       "QV02-3C4D5E",
       "Quorvex S2 Virtual"},
      {{0xFFFFFFFEu, std::string(255, 'N'), 12, 0xFFFFFFFFu, {0xFF, 0xFE, 0xFD, 0xFC, 0xFB, 0xFA}},
       "QV12-FCFBFA",
       std::string(63, 'N')},  // a long name is cut, never overflows into the CRC
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.device.name.substr(0, 20));
    const EepromImage image(c.device);
    const Bytes& b = image.bytes();
    ASSERT_EQ(b.size(), 8192u);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "QVEE");
    EXPECT_EQ(b[kEepromVersionOffset], 1);
    EXPECT_EQ(b[kEepromTypeOffset], c.device.type);
    EXPECT_EQ(Le(b, kEepromBlockLengthOffset, 2), 0x100u);
    EXPECT_EQ(Le(b, kEepromIdOffset, 4), c.device.id);
    EXPECT_EQ(Le(b, kEepromCapsOffset, 4), c.device.caps);
    EXPECT_EQ(image.mac(), c.device.mac);
    EXPECT_TRUE(std::equal(c.device.mac.begin(), c.device.mac.end(), b.begin() + 0x10));
    EXPECT_EQ(Text(b, kEepromSerialOffset, kEepromSerialLength), c.serial);
    EXPECT_EQ(Text(b, kEepromNameOffset, kEepromNameLength), c.name);
    EXPECT_EQ(Le(b, 0xFC, 4), crc32(b.data(), 0xFC));
    EXPECT_TRUE(image.identityValid());
    EXPECT_TRUE(std::all_of(b.begin() + 0x100, b.end(), [](uint8_t v) { return v == 0; }));
  }
}

TEST(EepromImage, WritesReachOnlyTheirBytesAndTheChecksumNoticesThem) {
  EepromImage image({1, "A", 2, 0, {1, 2, 3, 4, 5, 6}});
  const Bytes before = image.bytes();
  Bytes data(300, 0xA5);
  std::copy(before.begin(), before.begin() + 0x10, data.begin());  // keep the magic
  image.write(data.data(), data.size());
  EXPECT_TRUE(std::equal(data.begin(), data.end(), image.bytes().begin()));
  EXPECT_TRUE(std::equal(before.begin() + 300, before.end(), image.bytes().begin() + 300));
  EXPECT_EQ(image.mac(), (std::array<uint8_t, 6>{0xA5, 0xA5, 0xA5, 0xA5, 0xA5, 0xA5}));
  EXPECT_FALSE(image.identityValid());
  Bytes out(256, 0);
  image.read(out.data(), out.size());
  EXPECT_TRUE(std::equal(out.begin(), out.end(), data.begin()));
}

struct KeptFile : ::testing::Test {
  std::string dir, path;
  void SetUp() override {
    char tmpl[] = "/tmp/qvsim-eeprom.XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
    path = dir + "/card.eeprom";
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  void Write(const Bytes& b) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
  }
  Bytes Read() {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
};

TEST_F(KeptFile, SavedImagesComeBackInDeviceOrder) {
  EepromImage a({1, "A", 2, 0, {0, 0, 0, 0, 0, 1}}), b({2, "B", 7, 0, {0, 0, 0, 0, 0, 2}});
  Bytes data(512);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i);
  b.write(data.data(), data.size());
  ASSERT_TRUE(saveEepromFile(path, {&a, &b}));
  EXPECT_EQ(Read().size(), 2 * kEepromSize);
  EXPECT_FALSE(std::filesystem::exists(path + ".new"));

  EepromImage a2({1, "A", 2, 0, {9, 9, 9, 9, 9, 9}}), b2({2, "B", 7, 0, {9, 9, 9, 9, 9, 9}});
  EXPECT_EQ(loadEepromFile(path, {&a2, &b2}), "");
  EXPECT_EQ(a2.bytes(), a.bytes());
  EXPECT_EQ(b2.bytes(), b.bytes());
}

TEST_F(KeptFile, MissingShortOrUnwritableFiles) {
  const EepromImage factory({1, "A", 2, 0, {0, 0, 0, 0, 0, 1}});
  EepromImage a = factory, b({2, "B", 7, 0, {0, 0, 0, 0, 0, 2}});
  const EepromImage bFactory = b;
  EXPECT_EQ(loadEepromFile(path, {&a, &b}), "") << "a file not kept yet is no problem";
  EXPECT_EQ(a.bytes(), factory.bytes());

  // One whole image and a piece of another: the piece is not used.
  Bytes data(kEepromSize + 100, 0x11);
  Write(data);
  const std::string note = loadEepromFile(path, {&a, &b});
  EXPECT_NE(note.find("8292 bytes"), std::string::npos) << note;
  EXPECT_EQ(a.bytes(), Bytes(kEepromSize, 0x11));
  EXPECT_EQ(b.bytes(), bFactory.bytes());

  EXPECT_FALSE(saveEepromFile(dir + "/missing/card.eeprom", {&a}));
  Write({1, 2, 3});
  std::filesystem::create_directory(path + ".new");  // the save cannot be prepared
  EXPECT_FALSE(saveEepromFile(path, {&a}));
  EXPECT_EQ(Read(), (Bytes{1, 2, 3})) << "a failed save must leave the old file";
}

}  // namespace
