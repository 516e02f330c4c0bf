#include "config.h"

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "entry_points.h"

namespace qvsim {
namespace {

using nlohmann::json;

// A number given as a JSON number or as a string, decimal or "0x" hex.
uint64_t toNumber(const json& v, const std::string& what, uint64_t max) {
  uint64_t n = 0;
  if (v.is_number_unsigned()) {
    n = v.get<uint64_t>();
  } else if (v.is_string()) {
    const std::string s = v.get<std::string>();
    size_t pos = 0;
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
      base = 16;
      pos = 2;
    }
    if (pos == s.size()) throw ConfigError(what + ": empty number");
    for (; pos < s.size(); ++pos) {
      const char c = s[pos];
      int d = -1;
      if (c >= '0' && c <= '9') d = c - '0';
      else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
      else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
      if (d < 0) throw ConfigError(what + ": not a number: \"" + s + "\"");
      if (n > (max - static_cast<uint64_t>(d)) / static_cast<uint64_t>(base)) {
        throw ConfigError(what + ": out of range: \"" + s + "\"");
      }
      n = n * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
    }
    return n;
  } else {
    throw ConfigError(what + ": expected a non-negative number or a number string");
  }
  if (n > max) throw ConfigError(what + ": out of range");
  return n;
}

std::array<uint8_t, 6> toMac(const json& v, const std::string& what) {
  if (!v.is_string()) throw ConfigError(what + ": expected \"xx:xx:xx:xx:xx:xx\"");
  const std::string s = v.get<std::string>();
  std::array<uint8_t, 6> mac{};
  if (s.size() != 17) throw ConfigError(what + ": expected \"xx:xx:xx:xx:xx:xx\"");
  for (size_t i = 0; i < 6; ++i) {
    if (i > 0 && s[i * 3 - 1] != ':') throw ConfigError(what + ": expected \"xx:xx:xx:xx:xx:xx\"");
    mac[i] = static_cast<uint8_t>(toNumber(json("0x" + s.substr(i * 3, 2)), what, 0xFF));
  }
  return mac;
}

DeviceConfig parseDevice(const json& d, size_t index) {
  const std::string where = "devices[" + std::to_string(index) + "]";
  if (!d.is_object()) throw ConfigError(where + ": expected an object");
  DeviceConfig dev;
  if (!d.contains("id")) throw ConfigError(where + ": missing \"id\"");
  dev.id = static_cast<uint32_t>(toNumber(d["id"], where + ".id", 0xFFFFFFFEu));
  // 0 means "no device" to callers and 0xFFFFFFFF means "the first one".
  if (dev.id == 0) throw ConfigError(where + ".id: 0 is not a device id");
  if (!d.contains("name") || !d["name"].is_string() || d["name"].get<std::string>().empty()) {
    throw ConfigError(where + ": missing or empty \"name\"");
  }
  dev.name = d["name"].get<std::string>();
  if (dev.name.size() > 255) throw ConfigError(where + ".name: longer than 255 characters");
  if (!d.contains("type")) throw ConfigError(where + ": missing \"type\"");
  // Any code is allowed: a real library may report one the program has no
  // name for, and the program must show it as "Unknown".
  dev.type = static_cast<uint32_t>(toNumber(d["type"], where + ".type", 0xFFFFFFFFu));
  if (d.contains("caps")) dev.caps = static_cast<uint32_t>(toNumber(d["caps"], where + ".caps", 0xFFFFFFFFu));
  if (d.contains("mac")) {
    dev.mac = toMac(d["mac"], where + ".mac");
  } else {
    dev.mac = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, static_cast<uint8_t>(0x5E + index)};
  }
  return dev;
}

FailRule parseFailRule(const json& v, const std::string& name) {
  const std::string where = "fail." + name;
  FailRule rule;
  if (v.is_object()) {
    if (!v.contains("from")) throw ConfigError(where + ": missing \"from\"");
    rule.from = toNumber(v["from"], where + ".from", UINT64_MAX);
    if (v.contains("count")) rule.count = toNumber(v["count"], where + ".count", UINT64_MAX);
  } else {
    rule.from = toNumber(v, where, UINT64_MAX);
  }
  if (rule.from == 0) throw ConfigError(where + ": calls are counted from 1");
  return rule;
}

}  // namespace

Config defaultConfig() {
  Config c;
  c.devices.push_back({1, "Quorvex S2 Virtual", 2, 0x18FE, {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}});
  c.devices.push_back({2, "Quorvex T2/C2 Virtual", 7, 0x180E, {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5F}});
  return c;
}

Config parseConfig(const std::string& jsonText) {
  json doc;
  try {
    doc = json::parse(jsonText);
  } catch (const json::exception& e) {
    throw ConfigError(std::string("not valid JSON: ") + e.what());
  }
  if (!doc.is_object()) throw ConfigError("top level: expected an object");

  Config c = defaultConfig();
  if (doc.contains("devices")) {
    const json& list = doc["devices"];
    if (!list.is_array()) throw ConfigError("devices: expected an array");
    c.devices.clear();
    std::set<uint32_t> ids;
    for (size_t i = 0; i < list.size(); ++i) {
      DeviceConfig dev = parseDevice(list[i], i);
      if (!ids.insert(dev.id).second) {
        throw ConfigError("devices[" + std::to_string(i) + "].id: duplicate id " +
                          std::to_string(dev.id));
      }
      c.devices.push_back(std::move(dev));
    }
  }
  if (doc.contains("fail")) {
    const json& fail = doc["fail"];
    if (!fail.is_object()) throw ConfigError("fail: expected an object");
    for (const auto& [name, value] : fail.items()) {
      // A misspelt name would silently test nothing, so it is an error.
      if (entryIdByName(name) < 0) throw ConfigError("fail." + name + ": no such entry point");
      c.fail[name] = parseFailRule(value, name);
    }
  }
  if (doc.contains("seed")) c.seed = static_cast<uint32_t>(toNumber(doc["seed"], "seed", 0xFFFFFFFFu));
  return c;
}

Config loadConfigFile(const std::string& path, std::string* problem) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (problem) *problem = "cannot read " + path;
    return defaultConfig();
  }
  std::ostringstream text;
  text << in.rdbuf();
  try {
    return parseConfig(text.str());
  } catch (const ConfigError& e) {
    if (problem) *problem = path + ": " + e.what();
    return defaultConfig();
  }
}

bool isSatelliteType(uint32_t type) {
  switch (type) {
    case 1:   // DVB-S
    case 2:   // DVB-S2
    case 3:   // DSS
    case 4:   // DVB-Turbo
    case 5:   // DCII
    case 12:  // ISDB-S
      return true;
    default:
      return false;
  }
}

std::string formatMac(const std::array<uint8_t, 6>& mac) {
  char buf[18];
  std::snprintf(buf, sizeof buf, "%02X:%02X:%02X:%02X:%02X:%02X", mac[0], mac[1], mac[2], mac[3],
                mac[4], mac[5]);
  return buf;
}

}  // namespace qvsim
