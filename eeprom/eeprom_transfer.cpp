#include "eeprom/eeprom_transfer.h"

#include <new>

namespace {

uint8_t* AllocateNoThrow(size_t size) { return new (std::nothrow) uint8_t[size]; }
void Release(uint8_t* buffer) { delete[] buffer; }

}  // namespace

EepromBufferFunctions g_eepromBuffers = {&AllocateNoThrow, &Release};

uint16_t EepromSizeFromItemData(uintptr_t itemData) { return static_cast<uint16_t>(itemData); }

std::vector<const char*> EepromWriteLines(bool callSucceeded, uint32_t written, uint32_t size) {
  std::vector<const char*> lines;
  if (!callSucceeded) {
    lines.push_back("WriteFile() failed !");
    written = 0;
  }
  if (written != size) lines.push_back("WriteFile() error !");
  return lines;
}

const char* EepromReadLine(bool callSucceeded, uint32_t read, uint32_t size) {
  if (!callSucceeded) return "ReadFile() failed !";
  if (read != size) return "Incorrect EEPROM dump !";
  return nullptr;
}
