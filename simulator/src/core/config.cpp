#include "config.h"

#include <cstdio>
#include <nlohmann/json.hpp>
#include <set>

#include "entry_points.h"
#include "input_file.h"
#include "world.h"

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
      if (c >= '0' && c <= '9')
        d = c - '0';
      else if (base == 16 && c >= 'a' && c <= 'f')
        d = c - 'a' + 10;
      else if (base == 16 && c >= 'A' && c <= 'F')
        d = c - 'A' + 10;
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

// Names longer than any card's, for testing a program against odd libraries.
constexpr size_t kMaxNameBytes = 65536;

// Bytes given as pairs of hex digits, for names that are not UTF-8 (which
// JSON strings cannot carry).
std::string fromHex(const json& v, const std::string& what) {
  if (!v.is_string() || v.get<std::string>().size() % 2 != 0) {
    throw ConfigError(what + ": expected pairs of hex digits");
  }
  const std::string s = v.get<std::string>();
  std::string out;
  for (size_t i = 0; i < s.size(); i += 2) {
    out.push_back(static_cast<char>(toNumber(json("0x" + s.substr(i, 2)), what, 0xFF)));
  }
  return out;
}

DeviceConfig parseDevice(const json& d, size_t index) {
  const std::string where = "devices[" + std::to_string(index) + "]";
  if (!d.is_object()) throw ConfigError(where + ": expected an object");
  DeviceConfig dev;
  if (!d.contains("id")) throw ConfigError(where + ": missing \"id\"");
  dev.id = static_cast<uint32_t>(toNumber(d["id"], where + ".id", 0xFFFFFFFEu));
  // 0 means "no device" to callers and 0xFFFFFFFF means "the first one".
  if (dev.id == 0) throw ConfigError(where + ".id: 0 is not a device id");
  if (d.contains("name_hex")) {
    dev.name = fromHex(d["name_hex"], where + ".name_hex");
  } else if (d.contains("name") && d["name"].is_string()) {
    dev.name = d["name"].get<std::string>();
  }
  if (dev.name.empty()) throw ConfigError(where + ": missing or empty \"name\"");
  if (dev.name.size() > kMaxNameBytes) {
    throw ConfigError(where + ".name: longer than " + std::to_string(kMaxNameBytes) + " bytes");
  }
  if (!d.contains("type")) throw ConfigError(where + ": missing \"type\"");
  // Any code is allowed: a real library may report one the program has no
  // name for, and the program must show it as "Unknown".
  dev.type = static_cast<uint32_t>(toNumber(d["type"], where + ".type", 0xFFFFFFFFu));
  if (d.contains("caps"))
    dev.caps = static_cast<uint32_t>(toNumber(d["caps"], where + ".caps", 0xFFFFFFFFu));
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

bool toBool(const json& v, const std::string& what) {
  if (!v.is_boolean()) throw ConfigError(what + ": expected true or false");
  return v.get<bool>();
}

RemotePress parsePress(const json& k, size_t index, uint32_t address) {
  const std::string where = "remote.keys[" + std::to_string(index) + "]";
  RemotePress press;
  press.address = address;
  if (!k.is_object()) {
    press.command = static_cast<uint32_t>(toNumber(k, where, 63));
    return press;
  }
  if (!k.contains("command") && !k.contains("word") && !k.contains("bytes")) {
    throw ConfigError(where + ": missing \"command\"");
  }
  if (k.contains("command")) {
    press.command = static_cast<uint32_t>(toNumber(k["command"], where + ".command", 63));
  }
  if (k.contains("address")) {
    press.address = static_cast<uint32_t>(toNumber(k["address"], where + ".address", 31));
  }
  if (k.contains("word")) {
    press.word = static_cast<uint16_t>(toNumber(k["word"], where + ".word", 0xFFFF));
  }
  if (k.contains("kind")) {
    press.kind = static_cast<uint32_t>(toNumber(k["kind"], where + ".kind", 255));
  }
  if (k.contains("bytes")) {
    const json& bytes = k["bytes"];
    if (!bytes.is_array() || bytes.size() > 64) {
      throw ConfigError(where + ".bytes: expected an array of up to 64 bytes");
    }
    press.bytes.emplace();
    for (size_t i = 0; i < bytes.size(); ++i) {
      press.bytes->push_back(static_cast<uint8_t>(
          toNumber(bytes[i], where + ".bytes[" + std::to_string(i) + "]", 0xFF)));
    }
  }
  if (k.contains("repeats")) {
    press.repeats = static_cast<uint32_t>(toNumber(k["repeats"], where + ".repeats", 100000));
  }
  return press;
}

RemoteConfig parseRemote(const json& r) {
  if (!r.is_object()) throw ConfigError("remote: expected an object");
  RemoteConfig remote = defaultRemote();
  const uint32_t address = r.contains("address")
                               ? static_cast<uint32_t>(toNumber(r["address"], "remote.address", 31))
                               : 0;
  if (r.contains("keys")) {
    const json& keys = r["keys"];
    if (!keys.is_array() || keys.empty()) {
      throw ConfigError("remote.keys: expected a non-empty array");
    }
    remote.keys.clear();
    for (size_t i = 0; i < keys.size(); ++i) remote.keys.push_back(parsePress(keys[i], i, address));
  } else if (r.contains("address")) {
    for (RemotePress& press : remote.keys) press.address = address;
  }
  const uint32_t day = 86400000;
  if (r.contains("interval")) {
    remote.intervalMs = static_cast<uint32_t>(toNumber(r["interval"], "remote.interval", day));
  }
  if (r.contains("repeat_interval")) {
    remote.repeatIntervalMs =
        static_cast<uint32_t>(toNumber(r["repeat_interval"], "remote.repeat_interval", day));
  }
  if (r.contains("fast")) remote.fast = toBool(r["fast"], "remote.fast");
  if (r.contains("loop")) remote.loop = toBool(r["loop"], "remote.loop");
  if (r.contains("presses")) {
    remote.presses = static_cast<uint32_t>(toNumber(r["presses"], "remote.presses", 0xFFFFFFFFu));
  }
  if (r.contains("kind")) {
    remote.kind = static_cast<uint32_t>(toNumber(r["kind"], "remote.kind", 2));
    if (remote.kind == 0) throw ConfigError("remote.kind: must be 1 or 2");
  }
  if (r.contains("before_return")) {
    remote.beforeReturn = toBool(r["before_return"], "remote.before_return");
    // A remote that never falls silent would keep the registering call forever.
    if (remote.beforeReturn && remote.loop && remote.presses == 0) {
      throw ConfigError("remote.before_return: needs presses or loop false");
    }
  }
  return remote;
}

// One node of the antenna tree and, depth first, the nodes behind it; returns
// its index, or -1 for nothing connected (null).
int parseAntennaNode(const json& n, const std::string& where, const Sky& sky, AntennaConfig& a,
                     int depth) {
  if (depth > 8) throw ConfigError(where + ": switches nested deeper than 8");
  if (n.is_null()) return -1;
  const int index = static_cast<int>(a.nodes.size());
  a.nodes.emplace_back();
  AntennaNode node;
  if (n.is_string()) {
    node.satellite = satelliteNamed(sky, n.get<std::string>());
    if (!node.satellite)
      throw ConfigError(where + ": no satellite \"" + n.get<std::string>() + "\"");
    a.nodes[index] = node;
    return index;
  }
  if (!n.is_object()) throw ConfigError(where + ": expected a satellite name, null or a switch");
  struct SwitchKind {
    const char* key;
    AntennaNode::Kind kind;
    size_t inputs;
  };
  static const SwitchKind kinds[] = {{"committed", AntennaNode::Kind::Committed, 4},
                                     {"burst", AntennaNode::Kind::Burst, 2},
                                     {"uncommitted", AntennaNode::Kind::Uncommitted, 16}};
  for (const SwitchKind& k : kinds) {
    if (!n.contains(k.key)) continue;
    const json& list = n[k.key];
    const std::string at = where + "." + k.key;
    if (!list.is_array() || list.empty() || list.size() > k.inputs) {
      throw ConfigError(at + ": expected an array of 1 to " + std::to_string(k.inputs) + " inputs");
    }
    node.kind = k.kind;
    for (size_t i = 0; i < list.size(); ++i) {
      node.inputs.push_back(
          parseAntennaNode(list[i], at + "[" + std::to_string(i) + "]", sky, a, depth + 1));
    }
    node.inputs.resize(k.inputs, -1);
    a.nodes[index] = node;
    return index;
  }
  if (n.contains("positioner")) {
    const json& p = n["positioner"];
    if (!p.is_object() || p.empty()) {
      throw ConfigError(where + ".positioner: expected {\"N\": \"satellite\", ...}");
    }
    node.kind = AntennaNode::Kind::Positioner;
    for (const auto& [key, value] : p.items()) {
      const std::string at = where + ".positioner." + key;
      const auto pos = static_cast<uint32_t>(toNumber(json(key), at, 255));
      if (pos == 0) throw ConfigError(at + ": position 0 is the reference");
      if (!value.is_string() || !satelliteNamed(sky, value.get<std::string>())) {
        throw ConfigError(at + ": expected a satellite name");
      }
      node.positions[pos] = satelliteNamed(sky, value.get<std::string>());
    }
    if (n.contains("start")) {
      node.start = static_cast<uint32_t>(toNumber(n["start"], where + ".start", 255));
      if (node.start != 0 && !node.positions.count(node.start)) {
        throw ConfigError(where + ".start: not a stored position");
      }
    }
    a.nodes[index] = node;
    return index;
  }
  throw ConfigError(where +
                    ": expected \"committed\", \"burst\", \"uncommitted\" or \"positioner\"");
}

AntennaConfig parseAntenna(const json& a, const Sky& sky) {
  if (!a.is_object()) throw ConfigError("antenna: expected an object");
  AntennaConfig antenna = defaultAntenna(sky);
  if (a.contains("input")) {
    antenna.nodes.clear();
    if (parseAntennaNode(a["input"], "antenna.input", sky, antenna, 0) < 0) {
      antenna.nodes.push_back(AntennaNode{});  // an LNB that sees nothing
    }
  }
  if (a.contains("positioner_speed")) {
    const json& v = a["positioner_speed"];
    if (!v.is_number() || v.get<double>() <= 0.0 || v.get<double>() > 100000.0) {
      throw ConfigError("antenna.positioner_speed: expected degrees per second, above 0");
    }
    antenna.positionerDegPerSecond = v.get<double>();
  }
  return antenna;
}

Config::DiseqcReply parseDiseqcReply(const json& r) {
  const std::string where = "diseqc.reply";
  if (!r.is_object() || !r.contains("bytes") || !r["bytes"].is_array() || r["bytes"].size() > 8) {
    throw ConfigError(where + ": expected {\"bytes\": [up to 8], \"count\": N}");
  }
  Config::DiseqcReply reply;
  for (size_t i = 0; i < r["bytes"].size(); ++i) {
    reply.bytes.push_back(static_cast<uint8_t>(
        toNumber(r["bytes"][i], where + ".bytes[" + std::to_string(i) + "]", 0xFF)));
  }
  reply.count = r.contains("count")
                    ? static_cast<uint32_t>(toNumber(r["count"], where + ".count", 0xFFFFFFFFu))
                    : static_cast<uint32_t>(reply.bytes.size());
  return reply;
}

Config::Late parseLate(const json& l) {
  if (!l.is_object()) throw ConfigError("late: expected an object");
  Config::Late late;
  const auto count = [&](const char* key, uint32_t& out, uint64_t max) {
    if (l.contains(key))
      out = static_cast<uint32_t>(toNumber(l[key], std::string("late.") + key, max));
  };
  count("enumeration", late.enumeration, 100000);
  count("remote", late.remote, 100000);
  count("stream", late.stream, 100000);
  count("interval_ms", late.intervalMs, 60000);
  return late;
}

// The sky section: the measurement noise, and the channel files the sky is
// built from (null: the built-in sky).
std::shared_ptr<const Sky> parseSky(const json& sky, Config& c) {
  if (!sky.is_object()) throw ConfigError("sky: expected an object");
  if (sky.contains("noise_db")) {
    const json& n = sky["noise_db"];
    if (!n.is_number() || n.get<double>() < 0.0 || n.get<double>() > 10.0) {
      throw ConfigError("sky.noise_db: expected a number from 0 to 10");
    }
    c.sky.noiseDb = n.get<double>();
  }
  if (!sky.contains("file")) return nullptr;
  const json& f = sky["file"];
  const json list = f.is_array() ? f : json::array({f});
  for (const json& path : list) {
    if (!path.is_string() || path.get<std::string>().empty()) {
      throw ConfigError("sky.file: expected a channel file's name, or an array of them");
    }
    c.sky.files.push_back(path.get<std::string>());
  }
  if (c.sky.files.empty()) throw ConfigError("sky.file: expected at least one channel file");
  std::string problem;
  std::shared_ptr<const Sky> built = skyFromChannelFiles(c.sky.files, &problem, &c.notes);
  if (!built) throw ConfigError("sky.file: " + problem);
  return built;
}

// One damage rule. Its keys are checked, so a misspelt one cannot leave a
// test running on a clean stream.
StreamDamageRule parseDamageRule(const json& r, StreamDamageRule::Kind kind,
                                 const std::string& where) {
  if (!r.is_object()) throw ConfigError(where + ": expected an object");
  StreamDamageRule rule;
  rule.kind = kind;
  const bool burst = kind == StreamDamageRule::Kind::Burst;
  const std::set<std::string> keys =
      burst ? std::set<std::string>{"packets", "after_packet", "after_ms"}
            : std::set<std::string>{"pid", "every", "count"};
  for (const auto& [key, value] : r.items()) {
    if (keys.count(key) == 0) throw ConfigError(where + ": unknown key \"" + key + "\"");
  }
  if (burst) {
    if (!r.contains("packets")) throw ConfigError(where + ": missing \"packets\"");
    rule.packets = toNumber(r["packets"], where + ".packets", UINT64_MAX);
    if (r.contains("after_packet") == r.contains("after_ms")) {
      throw ConfigError(where + ": expected one of \"after_packet\" and \"after_ms\"");
    }
    if (r.contains("after_packet")) {
      rule.afterPacket = toNumber(r["after_packet"], where + ".after_packet", UINT64_MAX);
    } else {
      // A day of stream at most, so the packet it falls on is computed exactly.
      rule.afterMs = toNumber(r["after_ms"], where + ".after_ms", 86400000);
    }
    return rule;
  }
  if (!r.contains("pid") || !r.contains("every")) {
    throw ConfigError(where + ": expected \"pid\" and \"every\"");
  }
  rule.pid = static_cast<uint32_t>(toNumber(r["pid"], where + ".pid", 8192));
  rule.every = toNumber(r["every"], where + ".every", UINT64_MAX);
  if (rule.every == 0) throw ConfigError(where + ".every: packets are counted from 1");
  if (r.contains("count")) rule.count = toNumber(r["count"], where + ".count", UINT64_MAX);
  return rule;
}

// "damage": {"drop": RULE, "tei": RULE, "cut": RULE, "burst": RULE}, each
// rule an object or an array of them.
std::vector<StreamDamageRule> parseDamage(const json& d) {
  if (!d.is_object()) throw ConfigError("stream.damage: expected an object");
  using Kind = StreamDamageRule::Kind;
  const std::map<std::string, Kind> kinds = {
      {"drop", Kind::Drop}, {"tei", Kind::Tei}, {"cut", Kind::Cut}, {"burst", Kind::Burst}};
  std::vector<StreamDamageRule> rules;
  for (const auto& [name, value] : d.items()) {
    const auto kind = kinds.find(name);
    const std::string where = "stream.damage." + name;
    if (kind == kinds.end()) throw ConfigError(where + ": expected drop, tei, cut or burst");
    if (!value.is_array()) {
      rules.push_back(parseDamageRule(value, kind->second, where));
      continue;
    }
    for (size_t i = 0; i < value.size(); ++i) {
      rules.push_back(
          parseDamageRule(value[i], kind->second, where + "[" + std::to_string(i) + "]"));
    }
  }
  return rules;
}

}  // namespace

AntennaConfig defaultAntenna() { return defaultAntenna(*builtInSky()); }

AntennaConfig defaultAntenna(const Sky& sky) {
  AntennaConfig a;
  AntennaNode sw;
  sw.kind = AntennaNode::Kind::Committed;
  constexpr uint32_t kCommittedInputs = 4;
  for (uint32_t input = 0; input < kCommittedInputs; ++input) {
    AntennaNode lnb;
    lnb.satellite = satelliteOnInput(sky, input);
    sw.inputs.push_back(static_cast<int>(input) + 1);
    a.nodes.push_back(lnb);
  }
  a.nodes.insert(a.nodes.begin(), sw);
  return a;
}

RemoteConfig defaultRemote() {
  RemoteConfig r;
  for (const auto& [command, repeats] :
       {std::pair{0x01u, 0u}, {0x02u, 0u}, {0x03u, 0u}, {0x10u, 3u}, {0x0Cu, 0u}}) {
    RemotePress press;
    press.command = command;
    press.repeats = repeats;
    r.keys.push_back(press);
  }
  return r;
}

Config defaultConfig() {
  Config c;
  c.devices.push_back({1, "Quorvex S2 Virtual", 2, 0x18FE, {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}});
  c.devices.push_back(
      {2, "Quorvex T2/C2 Virtual", 7, 0x180E, {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5F}});
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
  // The sky first: the antenna names its satellites.
  std::shared_ptr<const Sky> sky;
  if (doc.contains("sky")) sky = parseSky(doc["sky"], c);
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
      if (qvabi::entryIdByName(name) < 0)
        throw ConfigError("fail." + name + ": no such entry point");
      c.fail[name] = parseFailRule(value, name);
    }
  }
  if (doc.contains("remote")) c.remote = parseRemote(doc["remote"]);
  if (doc.contains("eeprom")) {
    const json& e = doc["eeprom"];
    if (!e.is_object()) throw ConfigError("eeprom: expected an object");
    if (e.contains("file")) {
      if (!e["file"].is_string() || e["file"].get<std::string>().empty()) {
        throw ConfigError("eeprom.file: expected a file name");
      }
      c.eepromFile = e["file"].get<std::string>();
    }
  }
  if (sky) {
    const AntennaConfig antenna = defaultAntenna(*sky);
    for (DeviceConfig& d : c.devices) d.sky = sky, d.antenna = antenna;
  }
  if (doc.contains("antenna")) {
    const AntennaConfig antenna = parseAntenna(doc["antenna"], sky ? *sky : *builtInSky());
    for (DeviceConfig& d : c.devices) d.antenna = antenna;
  }
  if (doc.contains("diseqc")) {
    const json& d = doc["diseqc"];
    if (!d.is_object()) throw ConfigError("diseqc: expected an object");
    if (d.contains("reply")) c.diseqcReply = parseDiseqcReply(d["reply"]);
  }
  if (doc.contains("late")) c.late = parseLate(doc["late"]);
  if (doc.contains("signal")) c.signalOutputs = parseSignalOutputs(doc["signal"]);
  if (doc.contains("seed"))
    c.seed = static_cast<uint32_t>(toNumber(doc["seed"], "seed", 0xFFFFFFFFu));
  if (doc.contains("stream")) {
    const json& st = doc["stream"];
    if (!st.is_object()) throw ConfigError("stream: expected an object");
    if (st.contains("fast")) c.stream.fast = toBool(st["fast"], "stream.fast");
    if (st.contains("packets")) {
      c.stream.packets =
          static_cast<uint32_t>(toNumber(st["packets"], "stream.packets", kMaxBufferPackets));
      if (c.stream.packets != 0 && c.stream.packets < kMinBufferPackets) {
        throw ConfigError("stream.packets: expected 0 or 7 to 512");
      }
    }
    if (st.contains("buffers")) {
      c.stream.buffers =
          static_cast<uint32_t>(toNumber(st["buffers"], "stream.buffers", 0xFFFFFFFFu));
    }
    if (st.contains("damage")) c.stream.damage = parseDamage(st["damage"]);
  }
  return c;
}

Config loadConfigFile(const std::string& path, std::string* problem) {
  std::string text;
  uintmax_t size = 0;
  std::string refused = readInputFile(path, kMaxConfigBytes, text, size);
  if (refused.empty() && size > kMaxConfigBytes) {
    refused = path + " is larger than " + std::to_string(kMaxConfigBytes) + " bytes";
  }
  if (!refused.empty()) {
    if (problem) *problem = refused;
    return defaultConfig();
  }
  try {
    return parseConfig(text);
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

}  // namespace qvsim
