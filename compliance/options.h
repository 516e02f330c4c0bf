// The command line of quorvex-compliance.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "tuning/tune_request.h"

namespace compliance {

struct Options {
  std::string library;                    // a file, or empty for the program's own search
  std::optional<uint32_t> device;         // enumeration index; none: every device
  std::optional<TuneFields> transponder;  // a transponder known to lock
  std::optional<uint32_t> noLockFreq;     // MHz where nothing is carried, with the same fields
  bool writeEeprom = false;
  bool verbose = false;
  bool help = false;
  std::string junit;           // JUnit XML report file, or empty
  uint32_t timeoutMs = 10000;  // limit of one library call
};

// Parses the arguments (without the program name): the options, or the text
// of what is wrong with them.
std::variant<Options, std::string> ParseOptions(int argc, const char* const* argv);

// Reads a decimal number that fits 32 bits, nothing before or after it.
bool ParseNumber(const char* text, uint32_t& out);

// The usage text.
const char* UsageText();

}  // namespace compliance
