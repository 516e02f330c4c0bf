// GetEEPROM / SetEEPROM / GetMAC of a loaded virtual card: the MAC comes from
// the EEPROM, writes stay per device, and a configured file keeps the content
// from one load to the next.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "sim_loader.h"

namespace {

using simtest::SimLib;
using Bytes = std::vector<uint8_t>;

// Guards against a MAC kept apart from the EEPROM and images shared or lost.
TEST(EepromExports, MacComesFromTheEepromAndWritesStayPerDevice) {
  SimLib lib;
  ASSERT_EQ(SIM_FN(lib, StartDVBEx)(2), 1);
  Bytes image(256);
  ASSERT_EQ(SIM_FN(lib, GetEEPROM)(image.data(), 0, 256), 1);
  EXPECT_EQ(std::string(image.begin(), image.begin() + 4), "QVEE");
  EXPECT_EQ(Bytes(image.begin() + 0x10, image.begin() + 0x16),
            (Bytes{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5F}));
  const Bytes newMac = {0x02, 0x11, 0x22, 0x33, 0x44, 0x55};
  std::copy(newMac.begin(), newMac.end(), image.begin() + 0x10);
  ASSERT_EQ(SIM_FN(lib, SetEEPROM)(image.data(), 0, 256), 1);
  uint8_t mac[6] = {};
  ASSERT_EQ(SIM_FN(lib, GetMAC)(mac), 1);
  EXPECT_EQ(Bytes(mac, mac + 6), newMac);
  const auto lines = lib.traceLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "GetMAC(&) = 1 [02:11:22:33:44:55]");

  Bytes other(256);
  ASSERT_EQ(SIM_FN(lib, StartDVBEx)(1), 1);
  ASSERT_EQ(SIM_FN(lib, GetEEPROM)(other.data(), 0, 256), 1);
  EXPECT_NE(other, image) << "devices share an EEPROM";
  ASSERT_EQ(SIM_FN(lib, StopDVB)(), 1);
  ASSERT_EQ(SIM_FN(lib, StartDVBEx)(2), 1);
  ASSERT_EQ(SIM_FN(lib, GetEEPROM)(other.data(), 0, 256), 1);
  EXPECT_EQ(other, image) << "lost over stop/start";
}

struct Kept : ::testing::Test {
  std::string dir, file, config;
  void SetUp() override {
    char tmpl[] = "/tmp/qvsim-kept.XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
    file = dir + "/card.eeprom";
    config = "@" + dir + "/config.json";
    std::ofstream(dir + "/config.json") << R"({"eeprom": {"file": ")" + file + R"("}})";
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
};

// Guards against a kept file in the wrong order or length, or written on read.
TEST_F(Kept, ContentSurvivesAReload) {
  Bytes data(1024);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 13 + 1);
  Bytes factory2(8192);
  {
    SimLib lib("", config);
    ASSERT_EQ(SIM_FN(lib, StartDVBEx)(2), 1);
    ASSERT_EQ(SIM_FN(lib, GetEEPROM)(factory2.data(), 0, 8192), 1);
    EXPECT_FALSE(std::filesystem::exists(file)) << "reading alone writes nothing";
    ASSERT_EQ(SIM_FN(lib, SetEEPROM)(data.data(), 0, 1024), 1);
    EXPECT_EQ(std::filesystem::file_size(file), 2u * 8192u);
  }
  SimLib lib("", config);
  ASSERT_EQ(SIM_FN(lib, StartDVBEx)(2), 1);
  Bytes got(8192);
  ASSERT_EQ(SIM_FN(lib, GetEEPROM)(got.data(), 0, 8192), 1);
  EXPECT_TRUE(std::equal(data.begin(), data.end(), got.begin()));
  EXPECT_TRUE(std::equal(factory2.begin() + 1024, factory2.end(), got.begin() + 1024));
  ASSERT_EQ(SIM_FN(lib, StartDVBEx)(1), 1);
  ASSERT_EQ(SIM_FN(lib, GetEEPROM)(got.data(), 0, 256), 1);
  EXPECT_EQ(std::string(got.begin(), got.begin() + 4), "QVEE") << "the other device kept its own";
  for (const auto& line : lib.traceLines()) EXPECT_NE(line.rfind("#", 0), 0u) << line;
}

// Guards against an unkept write reported as kept and partial files used.
TEST_F(Kept, UnkeptWritesFailAndBadFilesAreNoted) {
  std::filesystem::create_directory(file + ".new");  // the file cannot be replaced
  {
    SimLib lib("", config);
    ASSERT_EQ(SIM_FN(lib, StartDVB)(), 1);
    Bytes before(256), after(256), data(256, 0x5A);
    ASSERT_EQ(SIM_FN(lib, GetEEPROM)(before.data(), 0, 256), 1);
    EXPECT_EQ(SIM_FN(lib, SetEEPROM)(data.data(), 0, 256), 0);
    ASSERT_EQ(SIM_FN(lib, GetEEPROM)(after.data(), 0, 256), 1);
    EXPECT_EQ(after, before);
    const auto lines = lib.traceLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "SetEEPROM(5A 5A 5A 5A 5A 5A 5A 5A ..., 0, 256) = 0 [not " +
                                           std::string("kept: cannot write ") + file + "]");
  }
  std::ofstream(file, std::ios::binary) << std::string(8192 + 5, 'x');
  SimLib lib("", config);
  ASSERT_EQ(SIM_FN(lib, StartDVB)(), 1);
  Bytes got(256);
  ASSERT_EQ(SIM_FN(lib, GetEEPROM)(got.data(), 0, 256), 1);
  EXPECT_EQ(got, Bytes(256, 'x')) << "the whole first image is used";
  ASSERT_EQ(SIM_FN(lib, StartDVBEx)(2), 1);
  ASSERT_EQ(SIM_FN(lib, GetEEPROM)(got.data(), 0, 256), 1);
  EXPECT_EQ(std::string(got.begin(), got.begin() + 4), "QVEE") << "a partial image is not used";
  const auto lines = lib.traceLines();
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const std::string& l) {
    return l.rfind("# eeprom: " + file + " holds 8197 bytes", 0) == 0;
  })) << "the short file is not noted in the trace";
}

}  // namespace
