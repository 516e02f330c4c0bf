// The virtual card's configuration: which devices exist and which calls fail.
// Read once per loaded library from the JSON file named by QUORVEX_SIM_CONFIG.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "fault_plan.h"
#include "signal_outputs.h"

namespace qvsim {

using qvabi::FailRule;

struct Satellite;
struct Sky;

// The outdoor equipment in front of a satellite tuner, as a tree whose first
// node is at the tuner's input. Switches lead on to further nodes (-1: nothing
// connected there); an LNB sees one satellite; a dish on a positioner sees
// the satellite it points at.
struct AntennaNode {
  enum class Kind { Lnb, Committed, Burst, Uncommitted, Positioner };
  Kind kind = Kind::Lnb;
  const Satellite* satellite = nullptr;            // Lnb: null when it sees nothing
  std::vector<int> inputs;                         // switches: node per input (committed
                                                   // 4, burst 2, uncommitted 16)
  std::map<uint32_t, const Satellite*> positions;  // positioner: stored positions 1..255
  uint32_t start = 0;                              // positioner: position it stands at first
};

struct AntennaConfig {
  std::vector<AntennaNode> nodes;  // nodes[0] is at the tuner
  double positionerDegPerSecond = 1.5;
};

// A committed switch with the four built-in satellites on its inputs.
AntennaConfig defaultAntenna();
// The same with the first four satellites of `sky`.
AntennaConfig defaultAntenna(const Sky& sky);

struct DeviceConfig {
  uint32_t id = 0;
  std::string name;
  uint32_t type = 0;  // tuner type code, 1 DVB-S .. 12 ISDB-S
  uint32_t caps = 0;  // QV_CAP_* bits
  // The name's bytes as the enumeration reports them: any bytes, up to 64 KiB
  // ("name", or "name_hex" for bytes that are not UTF-8).
  std::array<uint8_t, 6> mac{};
  AntennaConfig antenna = defaultAntenna();  // satellite devices only
  std::shared_ptr<const Sky> sky = nullptr;  // null: the built-in sky
};

// One key press of the virtual remote: the first frame, then `repeats` more
// frames with the same toggle while the key is held.
struct RemotePress {
  uint32_t address = 0;  // RC-5 system address, 0..31
  uint32_t command = 0;  // RC-5 command, 0..63
  uint32_t repeats = 0;
  // For testing a program against odd codes: a word sent as it is instead of
  // the RC-5 frame, a code kind other than the remote's, the bytes a RAW
  // filter receives instead of the frame's two.
  std::optional<uint16_t> word;
  std::optional<uint32_t> kind;
  std::optional<std::vector<uint8_t>> bytes;
};

// The virtual remote played to every remote-control filter.
struct RemoteConfig {
  std::vector<RemotePress> keys;    // played in order
  uint32_t intervalMs = 1000;       // from one press to the next
  uint32_t repeatIntervalMs = 114;  // between frames of a held key (RC-5 frame period)
  bool fast = false;                // no pauses at all
  bool loop = true;                 // start again after the last key
  uint32_t presses = 0;             // presses before the remote falls silent; 0: no limit
  uint32_t kind = 2;                // RC5 code kind: 2 = 16-bit word, 1 = key byte
  bool beforeReturn = false;        // the registering call returns once the remote fell silent
};

// A few presses on a TV remote: 1, 2, 3, volume up held, standby.
RemoteConfig defaultRemote();

// The virtual sky's settings; the world is built in (sky.cpp) unless channel
// files describe it.
struct SkyConfig {
  double noiseDb = 0.2;  // spread of the measured SNR; the RF level spreads 2.5 times as far
  std::vector<std::string> files;  // "file": channel files the sky is built from
};

// Damage done to the stream on purpose, so that a program's stream counters
// can be checked against exact counts. Rules act on the multiplex as the
// carrier brings it, before any PID filter: every filter of a device sees the
// same packets damaged, and a fresh stream starts the counting again.
struct StreamDamageRule {
  enum class Kind { Drop, Tei, Cut, Burst };
  Kind kind = Kind::Drop;
  // Drop, Tei, Cut: the `every`-th, 2 x `every`-th ... packet of `pid` (8192:
  // of the whole multiplex), at most `count` times (0: no limit); a cut packet
  // leaves the card as its first half, the other half is lost.
  uint32_t pid = 8192;
  uint64_t every = 1;
  uint64_t count = 0;
  // Burst: `packets` packets of the multiplex lost in a row, from position
  // `afterPacket` (that many packets went before), or from the first packet
  // due at or after `afterMs` of stream time.
  uint64_t packets = 0;
  uint64_t afterPacket = 0;
  std::optional<uint64_t> afterMs;
};

// How the card hands a transport stream filter its packets: at the locked
// carrier's useful bitrate, or as fast as it can (for benchmarks and tests);
// in buffers of `packets` whole packets, or (0) of the varying sizes a
// driver's buffers have, 7 to 512 packets. `buffers` (not 0) makes each
// filter fall silent after that many buffers, so a test knows what came.
struct StreamConfig {
  bool fast = false;
  uint32_t packets = 0;
  uint32_t buffers = 0;
  std::vector<StreamDamageRule> damage;  // none: the clean stream
};
inline constexpr uint32_t kMinBufferPackets = 7;
inline constexpr uint32_t kMaxBufferPackets = 512;

struct Config {
  SkyConfig sky;
  StreamConfig stream;  // "stream": {"fast": true, "packets": 7}  // "sky": {"noise_db": N}; the
                        // noise repeats for a given "seed"
  std::vector<DeviceConfig> devices;
  std::map<std::string, FailRule> fail;  // keyed by entry point name
  uint32_t seed = 0;
  // File that keeps the devices' EEPROM images across restarts ("" = kept
  // only while the library is loaded).
  std::string eepromFile;
  RemoteConfig remote = defaultRemote();
  // For testing a program against odd libraries: what SendDiseqCmdEx reports
  // after every successful exchange instead of the bus's answer.
  struct DiseqcReply {
    std::vector<uint8_t> bytes;  // up to 8 are written
    uint32_t count = 0;          // stored as the reply count
  };
  std::optional<DiseqcReply> diseqcReply;
  // For testing a program against odd libraries: callbacks after the call
  // that allowed them returned, `intervalMs` apart, from a library thread.
  struct Late {
    uint32_t enumeration = 0;  // devices reported after CheckForDVBEx(Ex) returned
    uint32_t remote = 0;       // codes after a remote-control filter's DelFilter
    uint32_t stream = 0;       // buffers after a stream filter's DelFilter
    uint32_t intervalMs = 50;
  } late;
  // Remarks for the trace about a configuration that is valid but not wholly
  // used (entries of a sky file the card cannot place).
  std::vector<std::string> notes;
  // For testing a program against odd libraries: the figures each signal
  // entry point reports after a successful measurement instead of its own.
  SignalOutputTable signalOutputs;
};

// The two built-in devices.
Config defaultConfig();

// Parses a configuration document. Unknown keys are ignored; anything malformed
// in a known section throws ConfigError with a one-line reason.
Config parseConfig(const std::string& jsonText);

// A configuration is a few kilobytes; a larger file is not one.
inline constexpr uintmax_t kMaxConfigBytes = 1 << 20;

// Reads and parses a regular file of at most kMaxConfigBytes. On failure
// returns the defaults and sets *problem.
Config loadConfigFile(const std::string& path, std::string* problem);

struct ConfigError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

bool isSatelliteType(uint32_t type);

}  // namespace qvsim
