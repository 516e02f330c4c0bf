// The small decisions of an EEPROM backup or restore, kept apart from the
// dialog so that they can be checked on their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The byte count of a transfer from the item data of the selected size entry.
// The library takes the size as a 16-bit value, so only the low 16 bits count.
uint16_t EepromSizeFromItemData(uintptr_t itemData);

// The lines a backup logs after its one write of `size` bytes, in order. A
// failed call counts as nothing written, whatever the call reported.
std::vector<const char*> EepromWriteLines(bool callSucceeded, uint32_t written, uint32_t size);

// The line a restore logs after its one read of `size` bytes, or nullptr when
// the whole image arrived and the card may be written.
const char* EepromReadLine(bool callSucceeded, uint32_t read, uint32_t size);

// Where the handlers get their image buffer (nullptr when memory is short) and
// how they give it back. Tests swap these to reach the out-of-memory path and
// to see every buffer returned.
struct EepromBufferFunctions {
  uint8_t* (*allocate)(size_t size);
  void (*release)(uint8_t* buffer);
};
extern EepromBufferFunctions g_eepromBuffers;
