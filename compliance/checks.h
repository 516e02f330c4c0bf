// The areas of checks, run in this order by main(). Each area reports its own
// checks; a check the library cannot support is n/a, never a failure.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compliance/call_limit.h"
#include "compliance/callbacks.h"
#include "compliance/options.h"
#include "compliance/report.h"

namespace compliance {

struct Context {
  Context(const Options& o, Report& r, CallLimit& l) : options(o), report(r), lib(l) {}
  const Options& options;
  Report& report;
  CallLimit& lib;
  std::vector<EnumeratedDevice> devices;  // from the first enumeration
  // The device being checked: its id, and its capability mask when GetCaps is
  // exported.
  uint32_t deviceId = 0xFFFFFFFFu;
  std::string deviceLabel;
  std::optional<uint32_t> caps;
  std::optional<uint32_t> tunerType;      // from GetTunerType, else the enumeration
  std::optional<TuneFields> transponder;  // known to lock on this device
  bool tuned = false;                     // the known transponder was tuned successfully
};

// Entry points present, generations consistent; false when a critical entry
// point is missing (nothing else can be checked).
bool CheckLoading(Context& c, const std::string& libraryName);
// Enumeration: reported during the call, on the calling thread, unique ids.
void CheckEnumeration(Context& c);
// Start, stop, type, capabilities and MAC of one device; false when the device
// cannot be started (its other checks are then skipped).
bool CheckDevice(Context& c, size_t index);
// Tuning and signal figures, with the known transponder when given.
void CheckTuning(Context& c);
// Stream capture and remote-control filters: their lifecycle and data.
void CheckFilters(Context& c);
// DiSEqC messages the program sends.
void CheckDiseqc(Context& c);
// Multistream selection and the EEPROM.
void CheckMisAndEeprom(Context& c);

// True for the tuner type codes of satellite tuners (DVB-S, S2, DSS, Turbo, DCII, ISDB-S).
bool IsSatelliteType(uint32_t type);
// True when `bit` is in the device's mask, or the library has no GetCaps.
bool Offers(const Context& c, uint32_t bit);
// Whether the check `name` applies: its entry point is exported and the device
// offers `bit`; otherwise it is reported not applicable, saying which is missing.
bool Applies(Context& c, const std::string& name, bool exported, uint32_t bit);
// Sleeps in small steps until `done()` or `ms` pass; true when done.
bool WaitFor(unsigned ms, const std::function<bool()>& done);

}  // namespace compliance
