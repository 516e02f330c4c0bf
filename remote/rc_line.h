// What a received remote-control code looks like in the message log, and the
// code types the "RC-Type:" list offers. Pure: no dialog, no library.
#pragma once

#include <cstdint>
#include <string>

#include "tuner/quorvex_api.h"

// The fields of an RC-5 frame held in a 16-bit word: command in bits 0-5,
// address in bits 6-10, toggle in bit 11, start bits in 12-13.
struct Rc5Fields {
  unsigned device;
  unsigned key;
  int toggle;  // 1 when bit 11 or bit 15 is set: some receivers move it up
};
Rc5Fields DecodeRc5(uint16_t word);

// Code kinds the RC5 and RC6 callbacks are handed with a code.
inline constexpr uint32_t kRcKindKeyByte = 1;
inline constexpr uint32_t kRcKindWord16 = 2;
inline constexpr uint32_t kRcKindWord32 = 8;  // RC6 only

// The most bytes a RAW line shows; a longer code ends in " ...".
inline constexpr uint32_t kRcRawMaxBytes = 256;
// "RC RAW:" and " %02X" per byte. A null buffer logs the prefix alone.
std::string RcRawLine(const uint8_t* data, uint32_t count);
// "RC5:" then " Key=%02X" (kind 1), "%04X - Dev=%02X Key=%02X Toggle=%d"
// (kind 2), nothing for any other kind or a null code.
std::string Rc5Line(const void* code, uint32_t kind);
// "RC6:" then " %02X" (kind 1), " %04X" (kind 2), " %08X" (kind 8), else nothing.
std::string Rc6Line(const void* code, uint32_t kind);

// One entry of the "RC-Type:" list and what enabling it hands the library.
struct RcCodeType {
  uint32_t typeCode;      // first argument of SetRemoteControl
  bool perDevice;         // the "RC-Dev:" choice narrows the device filter
  QvRcCallback callback;  // receives the codes on the library's thread
  const char* enabledText;
  const char* failedText;
};

// The row for a list index; null for an index without one.
const RcCodeType* FindRcCodeType(int32_t index);

// Device filter value for SetRemoteControl: 0xFFFF (all devices) unless the
// type is per device and an address "00".."1F" (list index 1..32) is chosen.
uint32_t RcDeviceFilter(const RcCodeType& type, int32_t deviceIndex);

// Whether the "RC-Dev:" list applies to the type at this list index.
bool RcTypeTakesDevice(int32_t index);

// The callbacks handed to the library (defined with the reception, remote/rc_reception.cpp).
void QV_CALLBACK RcRawCallback(const void* data, uint32_t count);
void QV_CALLBACK Rc5Callback(const void* code, uint32_t kind);
void QV_CALLBACK Rc6Callback(const void* code, uint32_t kind);
