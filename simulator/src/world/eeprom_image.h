// The EEPROM of one virtual device: 8 KiB, an identity block at the start
// that a factory would program, and free space after it.
//
// Identity block (bytes 0x000..0x0FF, multi-byte numbers little-endian):
//   0x00  4  magic "QVEE"
//   0x04  1  layout version (1)
//   0x05  1  tuner type code
//   0x06  2  length of the identity block (0x0100)
//   0x08  4  device id
//   0x0C  4  capability mask
//   0x10  6  MAC address (what GetMAC reports)
//   0x20 16  serial number, ASCII, NUL-padded ("QV02-3C4D5E")
//   0x40 64  device name, ASCII, NUL-terminated, cut to 63 characters
//   0xFC  4  CRC-32 (IEEE 802.3) of bytes 0x00..0xFB
// Bytes 0x100..0x1FFF start as zero. Every field lies in the first 256 bytes,
// so the smallest transfer the program offers still carries all of them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "config.h"
#include "world.h"

namespace qvsim {

inline constexpr size_t kEepromMagicOffset = 0x00;
inline constexpr size_t kEepromVersionOffset = 0x04;
inline constexpr size_t kEepromTypeOffset = 0x05;
inline constexpr size_t kEepromBlockLengthOffset = 0x06;
inline constexpr size_t kEepromIdOffset = 0x08;
inline constexpr size_t kEepromCapsOffset = 0x0C;
inline constexpr size_t kEepromMacOffset = 0x10;
inline constexpr size_t kEepromSerialOffset = 0x20;
inline constexpr size_t kEepromSerialLength = 16;
inline constexpr size_t kEepromNameOffset = 0x40;
inline constexpr size_t kEepromNameLength = 64;
inline constexpr size_t kEepromChecksumOffset = 0xFC;
inline constexpr size_t kEepromIdentityLength = 0x100;
inline constexpr uint8_t kEepromLayoutVersion = 1;

// CRC-32 as Ethernet and zip use it (reflected 0x04C11DB7, init and final
// inversion).
uint32_t crc32(const uint8_t* data, size_t length);

// The serial number a device leaves the factory with: type and the MAC's
// device-specific half.
std::string factorySerial(const DeviceConfig& device);

}  // namespace qvsim
