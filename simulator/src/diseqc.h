// DiSEqC on the virtual card: which commands a device accepts, and the answer
// a DiSEqC 2.x bus gives. A switch/positioner model can later act on the
// commands recorded here.
#pragma once

#include <cstdint>
#include <vector>

#include "devices.h"

namespace qvsim {

inline constexpr size_t kDiseqcMinLength = 3;
inline constexpr size_t kDiseqcMaxLength = 6;
inline constexpr uint8_t kFramingReplyOk = 0xE4;  // "reply, OK, no errors"

// SendDiSEqC: mode 1 tone burst (data 0 = A, 1 = B), mode 2 committed byte.
bool diseqcSimple(DeviceState& device, uint32_t mode, uint32_t data);

// SendDiseqCmd: a full message of 3..6 bytes on a DiSEqC 1.x/2.x device.
bool diseqcMessage(DeviceState& device, const uint8_t* message, uint32_t length);

// SendDiseqCmdEx: needs DiSEqC 2.x. *reply receives the reply bytes (empty
// when the framing byte asks for none).
bool diseqcMessageWithReply(DeviceState& device, const uint8_t* message, uint32_t length,
                            std::vector<uint8_t>* reply);

}  // namespace qvsim
