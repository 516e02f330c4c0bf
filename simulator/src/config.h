// The virtual card's configuration: which devices exist and which calls fail.
// Read once per loaded library from the JSON file named by QUORVEX_SIM_CONFIG.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace qvsim {

struct DeviceConfig {
  uint32_t id = 0;
  std::string name;
  uint32_t type = 0;  // tuner type code, 1 DVB-S .. 12 ISDB-S
  uint32_t caps = 0;  // QV_CAP_* bits
  std::array<uint8_t, 6> mac{};
};

// Calls number from, from+1, ... from+count-1 of one entry point fail
// (counted from 1 over every call of that entry point). No count: for ever.
struct FailRule {
  uint64_t from = 1;
  std::optional<uint64_t> count;
};

struct Config {
  std::vector<DeviceConfig> devices;
  std::map<std::string, FailRule> fail;  // keyed by entry point name
  uint32_t seed = 0;
};

// The two built-in devices.
Config defaultConfig();

// Parses a configuration document. Unknown keys are ignored; anything malformed
// in a known section throws ConfigError with a one-line reason.
Config parseConfig(const std::string& jsonText);

// Reads and parses a file. On failure returns the defaults and sets *problem.
Config loadConfigFile(const std::string& path, std::string* problem);

struct ConfigError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

bool isSatelliteType(uint32_t type);
std::string formatMac(const std::array<uint8_t, 6>& mac);

}  // namespace qvsim
