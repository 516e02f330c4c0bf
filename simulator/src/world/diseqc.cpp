#include "diseqc.h"

#include <chrono>
#include <cmath>

#include "quorvex_api.h"

namespace qvsim {
namespace {

using Kind = AntennaNode::Kind;

bool isCommandFraming(uint8_t b) { return b >= 0xE0 && b <= 0xE7; }
// Only a master's framing (E0..E3) is acted on; E4..E7 are replies.
bool isMasterFraming(uint8_t b) { return b >= 0xE0 && b <= 0xE3; }
bool wantsReply(uint8_t framing) { return framing == 0xE2 || framing == 0xE3; }

bool validMessage(const DeviceState& device, const uint8_t* message, uint32_t length,
                  uint32_t capsNeeded) {
  return isSatelliteType(device.config.type) && (device.config.caps & capsNeeded) != 0 &&
         message != nullptr && length >= kDiseqcMinLength && length <= kDiseqcMaxLength &&
         isCommandFraming(message[0]);
}

// Commands and addresses of the bus.
constexpr uint8_t kAddrAny = 0x00, kAddrSwitchAny = 0x10, kAddrSwitcher = 0x14,
                  kAddrSwitcherDcBlocking = 0x15, kAddrPositionerAny = 0x30,
                  kAddrPolarAzimuth = 0x31;
constexpr uint8_t kReadSwitch0 = 0x14, kReadSwitch1 = 0x15, kSetLineFirst = 0x20,
                  kSetLineLast = 0x27, kWriteN0 = 0x38, kWriteN1 = 0x39, kHalt = 0x60,
                  kGotoNn = 0x6B;

bool addressed(Kind kind, uint8_t address) {
  switch (kind) {
    case Kind::Committed:
    case Kind::Uncommitted:
      return address == kAddrAny || address == kAddrSwitchAny || address == kAddrSwitcher ||
             address == kAddrSwitcherDcBlocking;
    case Kind::Positioner:
      return address == kAddrAny || address == kAddrPositionerAny || address == kAddrPolarAzimuth;
    default:
      return false;  // LNBs and tone-burst switches are no bus devices
  }
}

// Write N0/N1: bits of the high nibble clear their line, then bits of the low
// nibble set theirs.
uint32_t writeLines(uint32_t lines, uint8_t data) {
  return ((lines & ~(static_cast<uint32_t>(data) >> 4)) | (data & 0x0Fu)) & 0x0Fu;
}

// Committed lines: bit 3 option, 2 position, 1 polarisation (horizontal), 0 band (high).
uint32_t committedLines(const AntennaState& a) {
  return (a.input & 3u) << 2 | (a.latchedHorizontal.value_or(false) ? 2u : 0u) |
         (a.latchedHighBand.value_or(false) ? 1u : 0u);
}

void setCommittedLines(AntennaState& a, uint32_t lines) {
  a.input = (lines >> 2) & 3u;
  a.latchedHorizontal = (lines & 2u) != 0;
  a.latchedHighBand = (lines & 1u) != 0;
}

double satelliteAngle(const Satellite* s) { return s ? s->eastDeg : 0.0; }

MotorState& motor(DeviceState& device, size_t node) {
  if (device.motors.size() <= node) device.motors.resize(node + 1);
  return device.motors[node];
}

void driveTo(DeviceState& device, size_t node, double targetDeg, int64_t nowUs) {
  const double here = dishAngle(device, node, nowUs);
  MotorState& m = motor(device, node);
  m.placed = true;
  m.fromDeg = here;
  m.toDeg = targetDeg;
  m.sinceUs = nowUs;
}

struct NodeAnswer {
  bool addressed = false;
  bool executed = false;
  std::vector<uint8_t> data;
};

// One node's handling of a message (framing already checked).
NodeAnswer actOn(DeviceState& device, size_t index, const uint8_t* msg, uint32_t length,
                 int64_t nowUs) {
  const AntennaNode& node = device.config.antenna.nodes[index];
  NodeAnswer a;
  const uint8_t address = msg[1], command = msg[2];
  if (!addressed(node.kind, address)) return a;
  a.addressed = true;
  const bool hasData = length >= 4;
  const uint8_t data = hasData ? msg[3] : 0;
  AntennaState& ant = device.antenna;
  switch (node.kind) {
    case Kind::Committed:
      if (command == kWriteN0 && hasData) {
        setCommittedLines(ant, writeLines(committedLines(ant), data));
        a.executed = true;
      } else if (command >= kSetLineFirst && command <= kSetLineLast) {
        const uint32_t bit = 1u << (command & 3u);
        const uint32_t lines = committedLines(ant);
        setCommittedLines(ant, (command & 4u) ? (lines | bit) : (lines & ~bit));
        a.executed = true;
      } else if (command == kReadSwitch0) {
        // Current settings in the high nibble, all four lines switchable.
        a.data.push_back(static_cast<uint8_t>(committedLines(ant) << 4 | 0x0Fu));
        a.executed = true;
      }
      break;
    case Kind::Uncommitted:
      if (command == kWriteN1 && hasData) {
        ant.port = writeLines(ant.port, data);
        a.executed = true;
      } else if (command == kReadSwitch1) {
        a.data.push_back(static_cast<uint8_t>(ant.port << 4 | 0x0Fu));
        a.executed = true;
      }
      break;
    case Kind::Positioner:
      if (command == kGotoNn && hasData) {
        // Position 0 is the reference; an empty slot leaves the dish where it is.
        if (data == 0) {
          driveTo(device, index, 0.0, nowUs);
        } else if (const auto it = node.positions.find(data); it != node.positions.end()) {
          driveTo(device, index, satelliteAngle(it->second), nowUs);
        }
        a.executed = true;
      } else if (command == kHalt) {
        driveTo(device, index, dishAngle(device, index, nowUs), nowUs);
        a.executed = true;
      }
      break;
    default:
      break;
  }
  return a;
}

// The message travels the path as it was when sent; every addressed device on
// it acts. Returns the bus's answer for a reply-required framing.
std::vector<uint8_t> busMessage(DeviceState& device, const uint8_t* msg, uint32_t length,
                                int64_t nowUs) {
  std::vector<uint8_t> reply;
  if (!isMasterFraming(msg[0])) return reply;
  bool anyAddressed = false, anyExecuted = false;
  std::vector<uint8_t> data;
  for (size_t index : antennaPath(device)) {
    NodeAnswer a = actOn(device, index, msg, length, nowUs);
    anyAddressed = anyAddressed || a.addressed;
    if (a.executed && !anyExecuted) data = a.data;
    anyExecuted = anyExecuted || a.executed;
  }
  if (!wantsReply(msg[0]) || !anyAddressed) return reply;
  reply.push_back(anyExecuted ? kFramingReplyOk : kFramingReplyUnsupported);
  if (anyExecuted) reply.insert(reply.end(), data.begin(), data.end());
  return reply;
}

}  // namespace

int64_t steadyNowUs() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

std::vector<size_t> antennaPath(const DeviceState& device) {
  const std::vector<AntennaNode>& nodes = device.config.antenna.nodes;
  const AntennaState& a = device.antenna;
  std::vector<size_t> path;
  int next = nodes.empty() ? -1 : 0;
  while (next >= 0 && static_cast<size_t>(next) < nodes.size() && path.size() <= nodes.size()) {
    path.push_back(static_cast<size_t>(next));
    const AntennaNode& n = nodes[static_cast<size_t>(next)];
    switch (n.kind) {
      case Kind::Committed:
        next = n.inputs[a.input & 3u];
        break;
      case Kind::Uncommitted:
        next = n.inputs[a.port & 15u];
        break;
      case Kind::Burst:
        next = n.inputs[a.burst & 1u];
        break;
      default:
        next = -1;
        break;
    }
  }
  return path;
}

double dishAngle(const DeviceState& device, size_t node, int64_t nowUs) {
  const AntennaNode& n = device.config.antenna.nodes[node];
  if (node >= device.motors.size() || !device.motors[node].placed) {
    const auto it = n.positions.find(n.start);
    return it == n.positions.end() ? 0.0 : satelliteAngle(it->second);
  }
  const MotorState& m = device.motors[node];
  const double distance = std::fabs(m.toDeg - m.fromDeg);
  const double travelled =
      device.config.antenna.positionerDegPerSecond * static_cast<double>(nowUs - m.sinceUs) / 1e6;
  if (travelled >= distance) return m.toDeg;
  return m.fromDeg + (m.toDeg > m.fromDeg ? travelled : -travelled);
}

const Satellite* satelliteInView(const DeviceState& device, int64_t nowUs) {
  const std::vector<size_t> path = antennaPath(device);
  if (path.empty()) return nullptr;
  const size_t last = path.back();
  const AntennaNode& n = device.config.antenna.nodes[last];
  if (n.kind == Kind::Lnb) return n.satellite;
  if (n.kind != Kind::Positioner) return nullptr;
  const double angle = dishAngle(device, last, nowUs);
  if (last < device.motors.size() && device.motors[last].placed &&
      angle != device.motors[last].toDeg) {
    return nullptr;  // still driving
  }
  for (const Satellite& s : skyOf(device.config).satellites) {
    if (std::fabs(s.eastDeg - angle) < 0.05) return &s;
  }
  return nullptr;
}

bool committedLinesAgree(const DeviceState& device) {
  const AntennaState& a = device.antenna;
  if (!a.latchedHorizontal || !a.latchedHighBand) return true;
  bool committedOnPath = false;
  for (size_t index : antennaPath(device)) {
    committedOnPath = committedOnPath || device.config.antenna.nodes[index].kind == Kind::Committed;
  }
  if (!committedOnPath) return true;
  return *a.latchedHorizontal == (a.lnbVoltage == 18) && *a.latchedHighBand == a.tone22kHz;
}

bool diseqcSimple(DeviceState& device, uint32_t mode, uint32_t data, int64_t nowUs) {
  if (!isSatelliteType(device.config.type)) return false;
  if (mode == 1) {
    if ((device.config.caps & QV_CAP_TONE_BURST) == 0 || data > 1) return false;
    device.diseqc.toneBurst = data;
    for (size_t index : antennaPath(device)) {
      if (device.config.antenna.nodes[index].kind == Kind::Burst) device.antenna.burst = data;
    }
    return true;
  }
  if (mode == 2) {
    if ((device.config.caps & QV_CAP_DISEQC10) == 0 || data > 0xFF) return false;
    device.diseqc.committedByte = data;
    // The library frames the byte as a committed-switch command to any switcher.
    const uint8_t msg[4] = {0xE0, kAddrSwitchAny, kWriteN0, static_cast<uint8_t>(data)};
    busMessage(device, msg, 4, nowUs);
    return true;
  }
  return false;
}

bool diseqcMessage(DeviceState& device, const uint8_t* message, uint32_t length, int64_t nowUs) {
  if (!validMessage(device, message, length, QV_CAP_DISEQC1X | QV_CAP_DISEQC2X)) return false;
  device.diseqc.lastMessage.assign(message, message + length);
  busMessage(device, message, length, nowUs);
  return true;
}

bool diseqcMessageWithReply(DeviceState& device, const uint8_t* message, uint32_t length,
                            std::vector<uint8_t>* reply, int64_t nowUs) {
  if (!validMessage(device, message, length, QV_CAP_DISEQC2X)) return false;
  device.diseqc.lastMessage.assign(message, message + length);
  *reply = busMessage(device, message, length, nowUs);
  return true;
}

}  // namespace qvsim
