// DiSEqC on the virtual card: which commands a device accepts, and what the
// equipment in front of a satellite tuner (the antenna tree of its
// configuration: committed, uncommitted and tone-burst switches, LNBs, a dish
// on a positioner) does with them and answers.
#pragma once

#include <cstdint>
#include <vector>

#include "devices.h"
#include "sky.h"
#include "world.h"

namespace qvsim {

inline constexpr size_t kDiseqcMinLength = 3;
inline constexpr size_t kDiseqcMaxLength = 6;
inline constexpr uint8_t kFramingReplyOk = 0xE4;           // "reply, OK, no errors"
inline constexpr uint8_t kFramingReplyUnsupported = 0xE5;  // "command not supported by slave"

// The nodes the tuner's signal runs through now, from the tuner on.
std::vector<size_t> antennaPath(const DeviceState& device);

// The satellite the tuner sees now: null when the path ends at nothing, or at
// a dish that is driving or points at no satellite.
const Satellite* satelliteInView(const DeviceState& device, int64_t nowUs = steadyNowUs());

// False when a committed switch on the path has latched a polarisation or
// band other than the tuner's LNB supply asks for (the tuner then finds
// nothing it tuned for).
bool committedLinesAgree(const DeviceState& device);

// Where a positioner node's dish points now, in degrees east.
double dishAngle(const DeviceState& device, size_t node, int64_t nowUs = steadyNowUs());

}  // namespace qvsim
