// What a press of "Tune" logs and passes to the library, as pure functions of
// the dialog's fields.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tuner/tune_args.h"

// The tuning entry points, poorest first.
enum class TuneEntry { SetChannel, SetChannelEx, SetChannelExEx };

// The richest one the library exports (SetChannel is always there).
TuneEntry ChooseTuneEntry(bool hasSetChannelExEx, bool hasSetChannelEx);
const char* TuneEntryName(TuneEntry entry);

// The fields as the user entered them: MHz, kilosymbols per second, list indexes.
struct TuneFields {
  uint32_t freq = 0, symRate = 0, lofLow = 0, lofHigh = 0, lofSwitch = 0;
  int32_t pol = 0, fec = 0, modulation = 0, inversion = 0, pilot = 0, rollOff = 0;
};

// The log lines before the call: frequency line, LOF line, then the lines of
// the choices only the chosen entry point takes.
std::vector<std::string> TuneParameterLines(const TuneFields& f, TuneEntry entry);

// The largest entry (MHz or kilosymbols per second) whose value in kHz or
// symbols per second still fits the library's 32-bit argument.
inline constexpr uint32_t kMaxTuneEntry = 4294967;

// The refusal text for the first field (in log order) too large to convert,
// such as "LOF2=4294968 is too large (max 4294967) !"; nothing when all fit.
std::optional<std::string> TuneRangeError(const TuneFields& f);

// The library's arguments (the type the tuner libraries receive them as).
TuneArgs TuneArgsFor(const TuneFields& f);

// "SetChannelExEx success !" and "SetChannelExEx failed !", for each entry point.
std::string TuneSuccessText(TuneEntry entry);
std::string TuneFailureText(TuneEntry entry);
