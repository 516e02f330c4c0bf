// What a tuner library implements behind the C entry points: one operation
// per thing the program can ask of a card. The export layer checks the
// arguments the contract defines, writes the trace and catches everything;
// an operation a library leaves out reports "not supported" (the entry point
// returns 0).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "call_trace.h"
#include "fault_plan.h"
#include "quorvex_api.h"
#include "signal_figures.h"
#include "tune_args.h"

namespace qvabi {

/* One device as the enumeration entry points report it. */
struct DeviceEntry {
  uint32_t id = 0;
  std::string name;
  uint32_t tunerType = 0;
};

/* Outputs a signal entry point writes in place of the measurement's (a card
   built to misbehave, for testing a program against odd libraries). `level`
   is the integer level of Statistic and GetSignal, `levelPercent` the float
   one of GetSignalStrength. */
struct SignalOutputs {
  std::optional<int32_t> lock, present, level, quality, rfLevel;
  std::optional<float> levelPercent, snr, ber;
};

/* Which SetChannel generation asked: 1 SetChannel, 2 SetChannelEx, 3 SetChannelExEx. */
using TuneGeneration = int;

class Backend {
 public:
  virtual ~Backend() = default;

  /* The devices present now; false when they cannot be listed. */
  virtual bool devices(std::vector<DeviceEntry>& /*list*/) { return false; }
  /* After an enumeration call returned: a library that misbehaves on purpose
     keeps `report` and reports devices later; a sound one drops it. */
  virtual void keepReporting(std::function<void(const DeviceEntry&)> /*report*/) {}
  /* Starts a device (0xFFFFFFFF: the first) and says which one runs. */
  virtual bool start(uint32_t /*id*/, uint32_t& /*startedId*/) { return false; }
  virtual bool stop() { return false; }
  virtual bool tunerType(uint32_t& /*type*/) { return false; }
  virtual uint32_t caps() { return 0; }

  /* Tunes; `generation` says which SetChannel entry point asked. */
  virtual bool tune(const TuneArgs& /*args*/, TuneGeneration /*generation*/) { return false; }
  virtual bool selectStream(uint32_t /*enable*/, uint32_t /*streamId*/, uint32_t /*mask*/) {
    return false;
  }
  /* The current measurement, as `reader` reads it. */
  virtual bool signal(SignalReader /*reader*/, SignalFigures& /*figures*/) { return false; }
  /* What `reader` reports instead of the measurement's figures; none by default. */
  virtual SignalOutputs signalOutputs(SignalReader /*reader*/) { return {}; }

  /* SendDiSEqC: mode 1 tone burst, mode 2 committed switch byte. */
  virtual bool diseqcSimple(uint32_t /*mode*/, uint32_t /*data*/) { return false; }
  virtual bool diseqcSend(const uint8_t* /*message*/, uint32_t /*length*/) { return false; }
  /* Sends and reads the reply; `count` is the length the answer claims. */
  virtual bool diseqcExchange(const uint8_t* /*message*/, uint32_t /*length*/,
                              std::vector<uint8_t>& /*reply*/, uint32_t& /*count*/) {
    return false;
  }

  /* Adds a filter and gives its number; data may arrive before this returns. */
  virtual bool addTsFilter(uint32_t /*pid*/, QvTsDataCallback /*callback*/, uint32_t /*mode*/,
                           uint32_t /*flags*/, int32_t& /*number*/) {
    return false;
  }
  virtual bool addRcFilter(uint32_t /*type*/, uint32_t /*deviceFilter*/, QvRcCallback /*callback*/,
                           int32_t& /*number*/) {
    return false;
  }
  /* Returns only when no callback of the filter runs or will run. */
  virtual bool deleteFilter(int32_t /*number*/) { return false; }

  virtual bool mac(std::array<uint8_t, 6>& /*mac*/) { return false; }
  /* Whole images from offset 0; `size` is at least kEepromMinBytes. */
  virtual bool readEeprom(uint8_t* /*buffer*/, uint32_t /*size*/) { return false; }
  virtual bool writeEeprom(const uint8_t* /*buffer*/, uint32_t /*size*/) { return false; }

  /* Where every call leaves its line; off until the library opens it. */
  CallTrace& trace() { return trace_; }
  /* Which calls fail on purpose; none unless the library says. */
  FaultPlan& faults() { return faults_; }

 private:
  CallTrace trace_;
  FaultPlan faults_;
};

/* The smallest EEPROM request the program makes: the card's header block. */
inline constexpr uint32_t kEepromMinBytes = 256;

/* The library's one backend, built on first use; each library defines it. */
Backend& backend();

}  // namespace qvabi
