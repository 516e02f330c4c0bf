// RC-5 infrared frames as the pulse and space durations that a lirc device
// transmits in LIRC_MODE_PULSE. A frame is 14 bits sent most significant
// first: start bit S1 (always 1), start bit S2 (the inverted bit 6 of the
// command, so 1 for commands 0-63 and 0 for the extended commands 64-127),
// the toggle bit, 5 address bits and the low 6 command bits. Each bit is
// Manchester coded in two halves of 889 us: a 1 is space then pulse, a 0 is
// pulse then space.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rc5 {

inline constexpr uint32_t kHalfBitUs = 889;
inline constexpr int kFrameBits = 14;

struct Frame {
  uint8_t address = 0;  // 0-31
  uint8_t command = 0;  // 0-127; 64-127 are sent with S2 = 0 (RC-5X)
  bool toggle = false;
};

// The 14-bit code word, S1 in bit 13 down to the command's bit 0. Address and
// command outside their ranges give nothing.
std::optional<uint16_t> CodeWord(const Frame& frame);

// Durations in microseconds, pulse first and last (an odd count), as written
// to a lirc device in LIRC_MODE_PULSE. The idle half of S1 before the first
// pulse and a trailing space are not part of it: the line is idle anyway.
std::optional<std::vector<uint32_t>> PulseTrain(const Frame& frame);

// "ADDRESS:COMMAND", each decimal or 0x-prefixed hexadecimal, within range.
std::optional<Frame> ParseFrame(const std::string& text);

}  // namespace rc5
