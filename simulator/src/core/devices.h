// The devices on the virtual card and what each remembers: the last tuning
// request, stream selection, DiSEqC traffic and its EEPROM.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config.h"
#include "tune_args.h"
#include "world.h"

namespace qvsim {

// What the program last asked the tuner to tune; whether it locks is the
// signal model's business.
struct TuneRequest : TuneArgs {
  int generation = 0;  // 1 SetChannel, 2 SetChannelEx, 3 SetChannelExEx
};

struct MisSelection {
  bool enabled = false;
  uint32_t streamId = 0;
  uint32_t mask = 0;
};

struct DiseqcState {
  std::optional<uint32_t> toneBurst;      // 0 = A, 1 = B
  std::optional<uint32_t> committedByte;  // mode 2 data
  std::vector<uint8_t> lastMessage;       // last full DiSEqC message
};

// The outdoor equipment as the satellite tuner drives it. `input` is the
// committed-switch input in use (0 PosA/OptA, 1 PosB/OptA, 2 PosA/OptB,
// 3 PosB/OptB); the LNB supply voltage chooses the polarisation (13 V
// vertical, 18 V horizontal) and the 22 kHz tone the high band. A tune sets
// the voltage and the tone; switching commands may change the input.
// The switches of one kind share their lines (as one switch of each kind
// would): the committed lines are `input` (option, position) and the latched
// polarisation and band, which a committed switch uses to pick its LNB's
// output, so once written they must agree with the tune for a lock.
struct AntennaState {
  uint32_t input = 0;
  uint32_t lnbVoltage = 0;  // 0 until the first tune, then 13 or 18
  bool tone22kHz = false;
  std::optional<bool> latchedHorizontal;  // committed polarisation line, once written
  std::optional<bool> latchedHighBand;    // committed band line, once written
  uint32_t port = 0;                      // uncommitted switch lines (0..15)
  uint32_t burst = 0;                     // tone-burst switch: 0 A, 1 B
};

// A dish positioner's motor: driving from one angle to another since `since`.
// It is machinery, so it stays where it is when the device is stopped.
struct MotorState {
  bool placed = false;  // false until first used: then it stands at its start position
  double fromDeg = 0.0, toDeg = 0.0;
  int64_t sinceUs = 0;  // steady clock, microseconds
};

// Which measurement the signal entry points read: a new one is taken when an
// entry point reads a second time, so the calls of one poll agree.
struct SignalMeter {
  uint64_t measurement = 0;
  uint32_t readers = 0;  // bit per entry point that has read this measurement
};

struct DeviceState {
  DeviceConfig config;
  std::optional<TuneRequest> tune;
  MisSelection mis;
  DiseqcState diseqc;
  AntennaState antenna;
  std::vector<MotorState> motors;  // per antenna node (only positioners use theirs)
  SignalMeter meter;
  EepromImage eeprom;  // kept for the library's life (or longer, see loadEepromFile)

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
  std::vector<DeviceState>& devices() { return devices_; }
  bool empty() const { return devices_.empty(); }

  // Starts the device with this id (0xFFFFFFFF: the first). Starting another
  // device while one runs switches to it; starting the running one again is a
  // no-op. Returns the previously started device id if it was switched away
  // from, through *stopped.
  bool start(uint32_t id, std::optional<uint32_t>* stopped);
  // Stops the started device; false when none is started. *stopped = its id.
  bool stop(uint32_t* stopped);

  DeviceState* started();

  // Brings in the EEPROM images kept in `path` the first time it is called
  // ("" or a missing file: the factory content stays). Returns a note for the
  // trace when the file could not be used, else "".
  std::string loadEepromsOnce(const std::string& path);
  // Writes every device's EEPROM image to `path`; true when "" (nothing kept).
  bool saveEeproms(const std::string& path) const;

 private:
  std::vector<DeviceState> devices_;
  std::optional<size_t> started_;
  bool eepromsLoaded_ = false;
};

}  // namespace qvsim
