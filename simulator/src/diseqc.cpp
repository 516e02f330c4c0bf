#include "diseqc.h"

#include "quorvex_api.h"

namespace qvsim {
namespace {

bool isCommandFraming(uint8_t b) { return b >= 0xE0 && b <= 0xE7; }
bool wantsReply(uint8_t framing) { return framing == 0xE2 || framing == 0xE3; }

bool validMessage(const DeviceState& device, const uint8_t* message, uint32_t length,
                  uint32_t capsNeeded) {
  return isSatelliteType(device.config.type) && (device.config.caps & capsNeeded) != 0 &&
         message != nullptr && length >= kDiseqcMinLength && length <= kDiseqcMaxLength &&
         isCommandFraming(message[0]);
}

}  // namespace

bool diseqcSimple(DeviceState& device, uint32_t mode, uint32_t data) {
  if (!isSatelliteType(device.config.type)) return false;
  if (mode == 1) {
    if ((device.config.caps & QV_CAP_TONE_BURST) == 0 || data > 1) return false;
    device.diseqc.toneBurst = data;
    return true;
  }
  if (mode == 2) {
    if ((device.config.caps & QV_CAP_DISEQC10) == 0 || data > 0xFF) return false;
    device.diseqc.committedByte = data;
    return true;
  }
  return false;
}

bool diseqcMessage(DeviceState& device, const uint8_t* message, uint32_t length) {
  if (!validMessage(device, message, length, QV_CAP_DISEQC1X | QV_CAP_DISEQC2X)) return false;
  device.diseqc.lastMessage.assign(message, message + length);
  return true;
}

bool diseqcMessageWithReply(DeviceState& device, const uint8_t* message, uint32_t length,
                            std::vector<uint8_t>* reply) {
  if (!validMessage(device, message, length, QV_CAP_DISEQC2X)) return false;
  device.diseqc.lastMessage.assign(message, message + length);
  reply->clear();
  if (wantsReply(message[0])) reply->push_back(kFramingReplyOk);
  return true;
}

}  // namespace qvsim
