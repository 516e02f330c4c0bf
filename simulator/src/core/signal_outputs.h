// The "signal" section of the configuration: the figures each signal entry
// point reports in place of the measurement's, for testing a program against
// libraries that report NaN, infinities or the ends of the integer range.
#pragma once

#include <map>
#include <nlohmann/json_fwd.hpp>

#include "backend.h"

namespace qvsim {

using SignalOutputTable = std::map<SignalReader, qvabi::SignalOutputs>;

// Parses {"GetSignalExEx": {"snr": "nan", "rf": -2147483648}, ...}. Integer
// figures take a JSON integer in the signed 32-bit range; float figures a
// number in the float range or "nan", "inf", "-inf" (JSON has no NaN). An
// unknown entry point or figure throws ConfigError, so a typo cannot silently
// test nothing.
SignalOutputTable parseSignalOutputs(const nlohmann::json& section);

}  // namespace qvsim
