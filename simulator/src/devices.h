// The devices on the virtual card and what each remembers: the last tuning
// request, stream selection, DiSEqC traffic and its EEPROM.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "config.h"

namespace qvsim {

inline constexpr size_t kEepromSize = 8192;
inline constexpr size_t kEepromMacOffset = 0x10;  // where the MAC sits in the EEPROM

// What the program last asked the tuner to tune; whether it locks is the
// signal model's business.
struct TuneRequest {
  uint32_t freqKHz = 0, symbolRate = 0, pol = 0, fec = 0;
  uint32_t lofLowKHz = 0, lofHighKHz = 0, lofSwitchKHz = 0;
  uint32_t modulation = 0, inversion = 0, pilot = 0, rollOff = 0;
  int generation = 0;  // 1 SetChannel, 2 SetChannelEx, 3 SetChannelExEx
};

struct MisSelection {
  bool enabled = false;
  uint32_t streamId = 0;
  uint32_t mask = 0;
};

struct DiseqcState {
  std::optional<uint32_t> toneBurst;        // 0 = A, 1 = B
  std::optional<uint32_t> committedByte;    // mode 2 data
  std::vector<uint8_t> lastMessage;         // last full DiSEqC message
};

struct DeviceState {
  DeviceConfig config;
  std::optional<TuneRequest> tune;
  MisSelection mis;
  DiseqcState diseqc;
  std::vector<uint8_t> eeprom;  // kEepromSize bytes, kept for the library's life

  explicit DeviceState(DeviceConfig c);
  // Forgets the per-session state (tuning, stream selection) when started or stopped.
  void resetSession();
};

// The devices in configuration order and which one, if any, is started.
// Not synchronised: the owner holds the library lock.
class DeviceRegistry {
 public:
  explicit DeviceRegistry(const std::vector<DeviceConfig>& devices);

  const std::vector<DeviceState>& devices() const { return devices_; }
  bool empty() const { return devices_.empty(); }

  // Starts the device with this id (0xFFFFFFFF: the first). Starting another
  // device while one runs switches to it; starting the running one again is a
  // no-op. Returns the previously started device id if it was switched away
  // from, through *stopped.
  bool start(uint32_t id, std::optional<uint32_t>* stopped);
  // Stops the started device; false when none is started. *stopped = its id.
  bool stop(uint32_t* stopped);

  DeviceState* started();

 private:
  std::vector<DeviceState> devices_;
  std::optional<size_t> started_;
};

}  // namespace qvsim
