// GetEEPROM / SetEEPROM / GetMAC of a loaded virtual card: the MAC comes from
// the EEPROM, and a configured file keeps the content from one load to the next.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "sim_loader.h"

namespace {

using simtest::SimLib;
using Bytes = std::vector<uint8_t>;

TEST(EepromExports, MacIsReadFromTheEeprom) {
  SimLib lib;
  ASSERT_EQ(SIM_FN(lib, StartDVBEx)(1), 1);
  Bytes image(256);
  ASSERT_EQ(SIM_FN(lib, GetEEPROM)(image.data(), 0, 256), 1);
  uint8_t mac[6] = {};
  ASSERT_EQ(SIM_FN(lib, GetMAC)(mac), 1);
  EXPECT_TRUE(std::equal(mac, mac + 6, image.begin() + 0x10));
  EXPECT_EQ(std::string(image.begin(), image.begin() + 4), "QVEE");

  const Bytes newMac = {0x02, 0x11, 0x22, 0x33, 0x44, 0x55};
  std::copy(newMac.begin(), newMac.end(), image.begin() + 0x10);
  ASSERT_EQ(SIM_FN(lib, SetEEPROM)(image.data(), 0, 256), 1);
  ASSERT_EQ(SIM_FN(lib, GetMAC)(mac), 1);
  EXPECT_EQ(Bytes(mac, mac + 6), newMac);
  EXPECT_EQ(lib.traceLines().back(), "GetMAC(&) = 1 [02:11:22:33:44:55]");
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
  // The other device kept its factory content.
  ASSERT_EQ(SIM_FN(lib, StartDVBEx)(1), 1);
  ASSERT_EQ(SIM_FN(lib, GetEEPROM)(got.data(), 0, 256), 1);
  EXPECT_EQ(std::string(got.begin(), got.begin() + 4), "QVEE");
  for (const auto& line : lib.traceLines()) EXPECT_NE(line.rfind("#", 0), 0u) << line;
}

TEST_F(Kept, AWriteThatCannotBeKeptFailsAndChangesNothing) {
  std::filesystem::create_directory(file + ".new");  // the file cannot be replaced
  SimLib lib("", config);
  ASSERT_EQ(SIM_FN(lib, StartDVB)(), 1);
  Bytes before(256), after(256), data(256, 0x5A);
  ASSERT_EQ(SIM_FN(lib, GetEEPROM)(before.data(), 0, 256), 1);
  EXPECT_EQ(SIM_FN(lib, SetEEPROM)(data.data(), 0, 256), 0);
  ASSERT_EQ(SIM_FN(lib, GetEEPROM)(after.data(), 0, 256), 1);
  EXPECT_EQ(after, before);
  const auto lines = lib.traceLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(
      lines[lines.size() - 2],
      "SetEEPROM(5A 5A 5A 5A 5A 5A 5A 5A ..., 0, 256) = 0 [not kept: cannot write " + file + "]");
}

TEST_F(Kept, AFileOfTheWrongLengthIsNotedInTheTrace) {
  std::ofstream(file, std::ios::binary) << std::string(8192 + 5, 'x');
  SimLib lib("", config);
  ASSERT_EQ(SIM_FN(lib, StartDVB)(), 1);
  Bytes got(256);
  ASSERT_EQ(SIM_FN(lib, GetEEPROM)(got.data(), 0, 256), 1);
  EXPECT_EQ(got, Bytes(256, 'x'));
  const auto lines = lib.traceLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2].rfind("# eeprom: " + file + " holds 8197 bytes", 0), 0u)
      << lines[lines.size() - 2];
}

TEST(EepromConfig, MalformedSectionMakesTheConfigInvalid) {
  for (const char* json :
       {R"({"eeprom": 5})", R"({"eeprom": {"file": ""}})", R"({"eeprom": {"file": 7}})"}) {
    SimLib lib("", json);
    const auto lines = lib.traceLines();
    ASSERT_FALSE(lines.empty()) << json;
    EXPECT_EQ(lines[0].rfind("# config: ", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find("eeprom"), std::string::npos) << lines[0];
  }
}

}  // namespace
