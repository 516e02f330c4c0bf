#include "remote/rc_line.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr uint32_t kAllDevices = 0xFFFF;

std::string Hex(const char* format, uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// The code buffer carries no alignment promise.
template <class T>
T Load(const void* code) {
  T value;
  std::memcpy(&value, code, sizeof value);
  return value;
}

constexpr RcCodeType kCodeTypes[] = {
    {0, false, RcRawCallback, "RAW RC enabled.", "SetRemoteControl() for RAW RC failed !"},
    {1, true, Rc5Callback, "RC5 enabled.", "SetRemoteControl() for RC5 failed !"},
    {1, false, Rc6Callback, "RC6 enabled.", "SetRemoteControl() for RC6 failed !"},
};

}  // namespace

Rc5Fields DecodeRc5(uint16_t word) {
  return Rc5Fields{(word >> 6) & 0x1Fu, word & 0x3Fu, (word & 0x8800u) != 0 ? 1 : 0};
}

std::string RcRawLine(const uint8_t* data, uint32_t count) {
  std::string line = "RC RAW:";
  if (data == nullptr) return line;
  // A count no receiver hands out would have the line read far past the
  // library's buffer: the bytes beyond any real code are left out.
  const uint32_t shown = count < kRcRawMaxBytes ? count : kRcRawMaxBytes;
  line.reserve(line.size() + 3 * static_cast<size_t>(shown) + 4);
  for (uint32_t i = 0; i < shown; ++i) line += Hex(" %02X", data[i]);
  if (shown < count) line += " ...";
  return line;
}

std::string Rc5Line(const void* code, uint32_t kind) {
  std::string line = "RC5:";
  if (code == nullptr) return line;
  if (kind == kRcKindKeyByte) {
    line += Hex(" Key=%02X", Load<uint8_t>(code));
  } else if (kind == kRcKindWord16) {
    const uint16_t word = Load<uint16_t>(code);
    const Rc5Fields f = DecodeRc5(word);
    char text[48];
    std::snprintf(text, sizeof text, "%04X - Dev=%02X Key=%02X Toggle=%d",
                  static_cast<unsigned>(word), f.device, f.key, f.toggle);
    line += text;
  }
  return line;
}

std::string Rc6Line(const void* code, uint32_t kind) {
  std::string line = "RC6:";
  if (code == nullptr) return line;
  if (kind == kRcKindKeyByte) {
    line += Hex(" %02X", Load<uint8_t>(code));
  } else if (kind == kRcKindWord16) {
    line += Hex(" %04X", Load<uint16_t>(code));
  } else if (kind == kRcKindWord32) {
    line += Hex(" %08X", Load<uint32_t>(code));
  }
  return line;
}

const RcCodeType* FindRcCodeType(int32_t index) {
  constexpr int32_t count = static_cast<int32_t>(sizeof kCodeTypes / sizeof kCodeTypes[0]);
  return index >= 0 && index < count ? &kCodeTypes[index] : nullptr;
}

uint32_t RcDeviceFilter(const RcCodeType& type, int32_t deviceIndex) {
  // Index 0 is "ALL"; no selection at all reads as -1 and means all as well,
  // rather than an address no remote can send.
  if (!type.perDevice || deviceIndex < 1 || deviceIndex > 32) return kAllDevices;
  return static_cast<uint16_t>(deviceIndex - 1);
}

bool RcTypeTakesDevice(int32_t index) {
  const RcCodeType* type = FindRcCodeType(index);
  return type != nullptr && type->perDevice;
}
