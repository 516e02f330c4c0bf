// The command line of quorvex-sweep.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "tuning/channel_tuning.h"

namespace sweep {

struct Options {
  std::vector<std::string> files;  // channel files, swept in this order
  std::optional<uint32_t> device;  // enumeration index; none: the first that receives the files
  uint32_t lockTimeoutMs = 3000;
  uint32_t recordMs = 0;  // the whole stream of each locked transponder; 0: not recorded
  LnbValues lnb;          // the dialog's defaults
  std::string csv;        // results as comma-separated values, or empty
  std::string junit;      // JUnit XML report, or empty
  bool help = false;
};

// The longest lock wait accepted: ten minutes per transponder.
inline constexpr uint32_t kMaxLockTimeoutMs = 600000;

// The longest recording accepted: ten minutes per transponder.
inline constexpr uint32_t kMaxRecordMs = 600000;

// Parses the arguments (without the program name): the options, or the text
// of what is wrong with them.
std::variant<Options, std::string> ParseOptions(int argc, const char* const* argv);

// The usage text.
const char* UsageText();

}  // namespace sweep
