// EEPROM transfer outcomes the virtual card never produces (it neither writes
// short nor claims bytes on a failed call), so no scenario reaches them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "eeprom/eeprom_transfer.h"

namespace {

std::vector<std::string> WriteLines(bool ok, uint32_t written, uint32_t size) {
  std::vector<std::string> lines;
  for (const char* l : EepromWriteLines(ok, written, size)) lines.push_back(l);
  return lines;
}

// Guards a short write or read reported as success (an image lost unnoticed),
// a failed call trusted for the bytes it claimed, and a size past 16 bits.
TEST(EepromOutcome, ShortOrFailedTransfersAreNeverSuccess) {
  EXPECT_EQ(WriteLines(true, 255, 256), std::vector<std::string>{"WriteFile() error !"});
  EXPECT_EQ(WriteLines(false, 256, 256),
            (std::vector<std::string>{"WriteFile() failed !", "WriteFile() error !"}));
  EXPECT_STREQ(EepromReadLine(true, 255, 256), "Incorrect EEPROM dump !");
  EXPECT_STREQ(EepromReadLine(false, 256, 256), "ReadFile() failed !");
  EXPECT_EQ(EepromSizeFromItemData(0x10100), 0x100);
}

}  // namespace
