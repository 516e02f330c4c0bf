#include "platform/library_text.h"

#include <cstdint>

namespace platform {
namespace {

void AppendUtf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Windows-1252 from 0x80 to 0x9F; the five bytes it leaves undefined read as
// the C1 controls of the same value, as Windows itself reads them.
constexpr uint16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Length of the well-formed UTF-8 sequence at `at`, or 0.
size_t SequenceAt(std::string_view s, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(s[i]); };
  const uint8_t b = byte(at);
  if (b < 0x80) return 1;
  size_t n = 0;
  uint32_t c = 0, min = 0;
  if (b >= 0xC2 && b <= 0xDF) n = 2, c = b & 0x1F, min = 0x80;
  if (b >= 0xE0 && b <= 0xEF) n = 3, c = b & 0x0F, min = 0x800;
  if (b >= 0xF0 && b <= 0xF4) n = 4, c = b & 0x07, min = 0x10000;
  if (n == 0 || at + n > s.size()) return 0;
  for (size_t i = 1; i < n; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    c = c << 6 | (byte(at + i) & 0x3F);
  }
  // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
  if (c < min || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return 0;
  return n;
}

}  // namespace

std::string Utf8OrWindows1252(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (size_t at = 0; at < bytes.size();) {
    if (const size_t n = SequenceAt(bytes, at)) {
      out.append(bytes.substr(at, n));
      at += n;
      continue;
    }
    const uint8_t b = static_cast<uint8_t>(bytes[at++]);
    AppendUtf8(out, b < 0xA0 ? kWindows1252High[b - 0x80] : b);
  }
  return out;
}

std::string WithVisibleControls(std::string utf8) {
  size_t at = 0;
  while (at < utf8.size() && static_cast<uint8_t>(utf8[at]) >= 0x20 && utf8[at] != 0x7F) ++at;
  if (at == utf8.size()) return utf8;
  std::string out = utf8.substr(0, at);
  for (; at < utf8.size(); ++at) {
    const uint8_t c = static_cast<uint8_t>(utf8[at]);
    if (c < 0x20) {
      AppendUtf8(out, 0x2400 + c);
    } else if (c == 0x7F) {
      AppendUtf8(out, 0x2421);
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace platform
