#include "rc5_frame.h"

#include <cerrno>
#include <cstdlib>

namespace rc5 {

std::optional<uint16_t> CodeWord(const Frame& frame) {
  if (frame.address > 31 || frame.command > 127) return std::nullopt;
  const unsigned s2 = (frame.command & 0x40) ? 0u : 1u;
  return static_cast<uint16_t>((1u << 13) | (s2 << 12) | (frame.toggle ? 1u << 11 : 0u) |
                               (unsigned{frame.address} << 6) | (frame.command & 0x3Fu));
}

std::optional<std::vector<uint32_t>> PulseTrain(const Frame& frame) {
  const std::optional<uint16_t> word = CodeWord(frame);
  if (!word) return std::nullopt;
  // Two half-bit levels per bit, true = pulse (carrier on).
  std::vector<bool> halves;
  for (int bit = kFrameBits - 1; bit >= 0; --bit) {
    const bool one = ((*word >> bit) & 1u) != 0;
    halves.push_back(!one);
    halves.push_back(one);
  }
  std::vector<uint32_t> out;
  bool level = true;
  for (bool half : halves) {
    if (out.empty() && !half) continue;  // the idle first half of S1
    if (!out.empty() && half == level) {
      out.back() += kHalfBitUs;
    } else {
      out.push_back(kHalfBitUs);
      level = half;
    }
  }
  if (!level) out.pop_back();  // a frame ending in a 0 bit ends with a space
  return out;
}

namespace {

std::optional<unsigned long> Number(const std::string& text) {
  if (text.empty() || text[0] == '-' || text[0] == '+') return std::nullopt;
  errno = 0;
  char* end = nullptr;
  const unsigned long value = std::strtoul(text.c_str(), &end, 0);
  if (errno != 0 || end == text.c_str() || *end != '\0') return std::nullopt;
  return value;
}

}  // namespace

std::optional<Frame> ParseFrame(const std::string& text) {
  const size_t colon = text.find(':');
  if (colon == std::string::npos) return std::nullopt;
  const std::optional<unsigned long> address = Number(text.substr(0, colon));
  const std::optional<unsigned long> command = Number(text.substr(colon + 1));
  if (!address || !command || *address > 31 || *command > 127) return std::nullopt;
  return Frame{static_cast<uint8_t>(*address), static_cast<uint8_t>(*command), false};
}

}  // namespace rc5
