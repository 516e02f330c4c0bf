#include "eeprom_image.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "input_file.h"

namespace qvsim {
namespace {

void putLe(std::vector<uint8_t>& b, size_t offset, uint32_t value, size_t width) {
  for (size_t i = 0; i < width; ++i) b[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t getLe32(const std::vector<uint8_t>& b, size_t offset) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) v |= static_cast<uint32_t>(b[offset + i]) << (8 * i);
  return v;
}

void putText(std::vector<uint8_t>& b, size_t offset, size_t field, const std::string& text) {
  // One byte is always left for the terminating NUL.
  const size_t n = std::min(text.size(), field - 1);
  std::copy_n(text.begin(), n, b.begin() + static_cast<long>(offset));
}

}  // namespace

uint32_t crc32(const uint8_t* data, size_t length) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < length; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

std::string factorySerial(const DeviceConfig& device) {
  char buf[kEepromSerialLength + 8];
  std::snprintf(buf, sizeof buf, "QV%02u-%02X%02X%02X", static_cast<unsigned>(device.type % 100),
                device.mac[3], device.mac[4], device.mac[5]);
  return buf;
}

EepromImage::EepromImage(const DeviceConfig& device) : bytes_(kEepromSize, 0) {
  std::memcpy(bytes_.data() + kEepromMagicOffset, "QVEE", 4);
  bytes_[kEepromVersionOffset] = kEepromLayoutVersion;
  bytes_[kEepromTypeOffset] = static_cast<uint8_t>(device.type);
  putLe(bytes_, kEepromBlockLengthOffset, kEepromIdentityLength, 2);
  putLe(bytes_, kEepromIdOffset, device.id, 4);
  putLe(bytes_, kEepromCapsOffset, device.caps, 4);
  std::copy(device.mac.begin(), device.mac.end(), bytes_.begin() + kEepromMacOffset);
  putText(bytes_, kEepromSerialOffset, kEepromSerialLength, factorySerial(device));
  putText(bytes_, kEepromNameOffset, kEepromNameLength, device.name);
  putLe(bytes_, kEepromChecksumOffset, crc32(bytes_.data(), kEepromChecksumOffset), 4);
}

void EepromImage::assign(const std::vector<uint8_t>& bytes) {
  if (bytes.size() == kEepromSize) bytes_ = bytes;
}

void EepromImage::read(uint8_t* out, size_t size) const {
  std::memcpy(out, bytes_.data(), std::min(size, kEepromSize));
}

void EepromImage::write(const uint8_t* in, size_t size) {
  std::memcpy(bytes_.data(), in, std::min(size, kEepromSize));
}

std::array<uint8_t, 6> EepromImage::mac() const {
  std::array<uint8_t, 6> mac{};
  std::copy_n(bytes_.begin() + kEepromMacOffset, mac.size(), mac.begin());
  return mac;
}

bool EepromImage::identityValid() const {
  return std::memcmp(bytes_.data() + kEepromMagicOffset, "QVEE", 4) == 0 &&
         getLe32(bytes_, kEepromChecksumOffset) == crc32(bytes_.data(), kEepromChecksumOffset);
}

std::string loadEepromFile(const std::string& path, const std::vector<EepromImage*>& images) {
  std::error_code ec;
  // Not kept yet: the devices start from their factory content.
  if (!std::filesystem::exists(path, ec) && !ec) return "";
  // Only what the devices take is read; the rest of a longer file is unused.
  std::string data;
  uintmax_t size = 0;
  const std::string refused = readInputFile(path, images.size() * kEepromSize, data, size);
  if (!refused.empty()) return refused + "; using the factory content";
  const size_t read = data.size() / kEepromSize;
  for (size_t i = 0; i < images.size() && i < read; ++i) {
    const auto begin = data.begin() + static_cast<long>(i * kEepromSize);
    images[i]->assign(std::vector<uint8_t>(begin, begin + static_cast<long>(kEepromSize)));
  }
  const uintmax_t whole = size / kEepromSize;
  if (size % kEepromSize != 0 || whole < images.size()) {
    return path + " holds " + std::to_string(size) + " bytes, " + std::to_string(whole) +
           " whole image(s) for " + std::to_string(images.size()) +
           " device(s); the others keep their factory content";
  }
  return "";
}

bool saveEepromFile(const std::string& path, const std::vector<const EepromImage*>& images) {
  const std::string temp = path + ".new";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    for (const EepromImage* image : images) {
      out.write(reinterpret_cast<const char*>(image->bytes().data()),
                static_cast<std::streamsize>(image->bytes().size()));
    }
    out.flush();
    if (!out) {
      out.close();
      std::remove(temp.c_str());
      return false;
    }
  }
  // std::filesystem::rename replaces an existing file on Windows too, where
  // std::rename refuses to.
  std::error_code renamed;
  std::filesystem::rename(temp, path, renamed);
  if (renamed) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace qvsim
