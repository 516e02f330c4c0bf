#include "lnb_lines.h"

namespace ldvb {

std::optional<LnbLines> CommittedLines(const uint8_t* bytes, uint32_t length, LnbLines current) {
  // Framing E0..E3 (a command from the master), any address, Write N0.
  if (length != 4 || (bytes[0] & 0xFC) != 0xE0 || bytes[2] != 0x38) return std::nullopt;
  const uint8_t data = bytes[3];
  if (data & 0x20) current.horizontal = (data & 0x02) != 0;
  if (data & 0x10) current.toneOn = (data & 0x01) != 0;
  return current;
}

}  // namespace ldvb
