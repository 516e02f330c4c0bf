#include "rc_codes.h"

#include <linux/lirc.h>

namespace ldvb {

std::optional<uint16_t> Rc5Word(const Scancode& code) {
  if (code.protocol != RC_PROTO_RC5) return std::nullopt;
  const uint32_t address = static_cast<uint32_t>(code.scancode >> 8) & 0x1Fu;
  const uint32_t command = static_cast<uint32_t>(code.scancode) & 0x7Fu;
  // Bit 13 is the first start bit, always 1; bit 12, the second, carries the
  // inverted seventh command bit (RC-5X), so plain RC-5 codes have it set.
  uint32_t word = 0x2000u | ((command & 0x40u) ? 0u : 0x1000u);
  word |= (code.toggle ? 1u : 0u) << 11 | address << 6 | (command & 0x3Fu);
  return static_cast<uint16_t>(word);
}

bool PassesDeviceFilter(uint16_t word, uint32_t deviceFilter) {
  const uint32_t filter = deviceFilter & 0xFFFFu;
  return filter == 0xFFFFu || ((word >> 6) & 0x1Fu) == filter;
}

std::vector<uint8_t> RawBytes(uint64_t scancode) {
  size_t count = 2;
  if (scancode > 0xFFFFFFFFull)
    count = 8;
  else if (scancode > 0xFFFFFFull)
    count = 4;
  else if (scancode > 0xFFFFull)
    count = 3;
  std::vector<uint8_t> out(count);
  for (size_t i = 0; i < count; ++i) out[count - 1 - i] = static_cast<uint8_t>(scancode >> (8 * i));
  return out;
}

}  // namespace ldvb
