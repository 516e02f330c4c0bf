// The 42 exported entry points. Each one counts its call for failure
// injection, does its work on the simulator, writes its trace line when it
// returns, and never lets an exception escape into the program.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "diseqc.h"
#include "entry_points.h"
#include "quorvex_api.h"
#include "signal_model.h"
#include "simulator.h"
#include "ts_delivery.h"
#include "virtual_remote.h"

using namespace qvsim;

namespace {

using Lock = std::lock_guard<std::mutex>;

std::string join(std::initializer_list<std::string> parts) {
  std::string s;
  for (const auto& p : parts) {
    if (!s.empty()) s += ", ";
    s += p;
  }
  return s;
}

std::string formatResult(int32_t r) { return std::to_string(r); }
std::string formatResult(uint32_t r) { return tr::hex32(r); }

// Runs one entry point: `args()` formats the arguments for the trace, `body`
// does the work and may append "key=value" notes to `outputs`.
template <class R, class ArgsFn, class BodyFn>
R entry(Ep ep, ArgsFn&& args, BodyFn&& body) noexcept {
  try {
    Simulator& sim = simulator();
    const bool tracing = sim.trace().enabled();
    std::string argText;
    if (tracing) argText = args();
    std::string outputs;
    R result = 0;
    const bool injected = sim.faults().nextCallFails(ep);
    if (!injected) {
      try {
        result = body(sim, outputs);
      } catch (...) {
        result = 0;
        outputs = "internal error";
      }
    }
    if (tracing) {
      std::string line(entryName(ep));
      line += "(" + argText + ") = " + formatResult(result);
      if (injected) {
        line += " [injected]";
      } else if (!outputs.empty()) {
        line += " [" + outputs + "]";
      }
      sim.trace().line(line);
    }
    return result;
  } catch (...) {
    return 0;
  }
}

// Bytes of a DiSEqC message for the trace: shown only for lengths a message
// can have, so a bad length never makes the trace read past the buffer.
std::string messageArg(const uint8_t* msg, uint32_t length) {
  if (!msg) return "null";
  if (length == 0 || length > kDiseqcMaxLength) return "?";
  return tr::bytes(msg, length);
}

bool validEepromRequest(const uint8_t* buffer, uint32_t offset, uint32_t size) {
  return buffer != nullptr && offset == 0 && size >= 256 && size <= kEepromSize;
}

// The kept EEPROM images come in on first use of the EEPROM. Library lock held.
void loadKeptEeproms(Simulator& sim) {
  const std::string note = sim.registry().loadEepromsOnce(sim.config().eepromFile);
  if (!note.empty()) sim.trace().line("# eeprom: " + note);
}

// The started device when it has all of `caps`, else null. Library lock held.
DeviceState* startedWith(Simulator& sim, uint32_t caps) {
  DeviceState* dev = sim.registry().started();
  return dev && (dev->config.caps & caps) == caps ? dev : nullptr;
}

struct EnumEntry {
  uint32_t id;
  std::string name;
  uint32_t type;
};

std::vector<EnumEntry> deviceList(Simulator& sim) {
  Lock lock(sim.mutex());
  std::vector<EnumEntry> list;
  for (const auto& d : sim.registry().devices()) {
    list.push_back({d.config.id, d.config.name, d.config.type});
  }
  return list;
}

int32_t start(Simulator& sim, uint32_t id, std::string& outputs) {
  std::optional<uint32_t> switchedFrom;
  uint32_t startedId = 0;
  {
    Lock lock(sim.mutex());
    if (!sim.registry().start(id, &switchedFrom)) return 0;
    startedId = sim.registry().started()->config.id;
  }
  // The device switched away from loses its filters, as if stopped.
  if (switchedFrom) {
    sim.filters().removeDevice(*switchedFrom);
    streamDeck().reap();
  }
  outputs = "device=" + tr::u32(startedId);
  return 1;
}

int32_t setChannel(Simulator& sim, const TuneRequest& request) {
  Lock lock(sim.mutex());
  DeviceState* dev = sim.registry().started();
  // A request the tuner cannot carry out is refused and changes nothing.
  if (!dev || !acceptsTune(dev->config.type, request)) return 0;
  applyTune(*dev, request);
  return 1;
}

// Reads the signal of the started device; false when none is started.
bool signal(Simulator& sim, SignalReader reader, SignalReport* report) {
  Lock lock(sim.mutex());
  DeviceState* dev = sim.registry().started();
  if (!dev) return false;
  *report = measureSignal(*dev, reader, sim.config().sky, sim.config().seed);
  return true;
}

// The integer entry points report the level rounded to whole percent.
int32_t wholePercent(float percent) { return static_cast<int32_t>(std::lround(percent)); }

int32_t unused(Ep ep) {
  return entry<int32_t>(
      ep, [] { return std::string(); }, [](Simulator&, std::string&) { return 0; });
}

// Builds the library's state when it is loaded, so the configuration and the
// trace file are read before the first call.
bool loadAtStart() noexcept {
  try {
    simulator();
    return true;
  } catch (...) {
    return false;
  }
}
[[maybe_unused]] const bool loadedAtStart = loadAtStart();

}  // namespace

extern "C" {

QV_EXPORT int32_t QV_API CheckForDVB(void) {
  return entry<int32_t>(
      Ep::CheckForDVB, [] { return std::string(); },
      [](Simulator& sim, std::string&) {
        Lock lock(sim.mutex());
        return sim.registry().empty() ? 0 : 1;
      });
}

// The enumeration callbacks run on the calling thread, without the library
// lock, so they may call back into the library.
QV_EXPORT int32_t QV_API CheckForDVBEx(QvDeviceEnumCallback callback) {
  return entry<int32_t>(
      Ep::CheckForDVBEx, [&] { return tr::callback(callback != nullptr); },
      [&](Simulator& sim, std::string&) {
        if (!callback) return 0;
        const auto list = deviceList(sim);
        if (list.empty()) return 0;
        for (const auto& d : list) {
          sim.trace().line("  -> DeviceEnum(" + tr::u32(d.id) + ", " + tr::quoted(d.name) + ")");
          callback(d.id, d.name.c_str());
        }
        return 1;
      });
}

QV_EXPORT int32_t QV_API CheckForDVBExEx(QvDeviceEnumCallbackEx callback) {
  return entry<int32_t>(
      Ep::CheckForDVBExEx, [&] { return tr::callback(callback != nullptr); },
      [&](Simulator& sim, std::string&) {
        if (!callback) return 0;
        const auto list = deviceList(sim);
        if (list.empty()) return 0;
        for (const auto& d : list) {
          sim.trace().line("  -> DeviceEnum(" + tr::u32(d.id) + ", " + tr::quoted(d.name) + ", " +
                           tr::u32(d.type) + ")");
          callback(d.id, d.name.c_str(), d.type);
        }
        return 1;
      });
}

QV_EXPORT int32_t QV_API StartDVB(void) {
  return entry<int32_t>(
      Ep::StartDVB, [] { return std::string(); },
      [](Simulator& sim, std::string& out) { return start(sim, 0xFFFFFFFFu, out); });
}

QV_EXPORT int32_t QV_API StartDVBEx(uint32_t deviceId) {
  return entry<int32_t>(
      Ep::StartDVBEx, [&] { return tr::u32(deviceId); },
      [&](Simulator& sim, std::string& out) { return start(sim, deviceId, out); });
}

QV_EXPORT int32_t QV_API StopDVB(void) {
  return entry<int32_t>(
      Ep::StopDVB, [] { return std::string(); },
      [](Simulator& sim, std::string&) {
        uint32_t stopped = 0;
        {
          Lock lock(sim.mutex());
          if (!sim.registry().stop(&stopped)) return 0;
        }
        sim.filters().removeDevice(stopped);
        streamDeck().reap();
        return 1;
      });
}

QV_EXPORT int32_t QV_API GetTunerType(uint32_t* tunerType) {
  return entry<int32_t>(
      Ep::GetTunerType, [&] { return tr::out(tunerType); },
      [&](Simulator& sim, std::string& out) {
        if (!tunerType) return 0;
        Lock lock(sim.mutex());
        const DeviceState* dev = sim.registry().started();
        if (!dev) return 0;
        *tunerType = dev->config.type;
        out = "type=" + tr::u32(dev->config.type);
        return 1;
      });
}

QV_EXPORT int32_t QV_API SendDiSEqC(uint32_t mode, uint32_t data) {
  return entry<int32_t>(
      Ep::SendDiSEqC,
      [&] {
        return join({tr::u32(mode), tr::u32(data)});
      },
      [&](Simulator& sim, std::string&) {
        Lock lock(sim.mutex());
        DeviceState* dev = sim.registry().started();
        return dev && diseqcSimple(*dev, mode, data) ? 1 : 0;
      });
}

QV_EXPORT int32_t QV_API SendDiseqCmd(uint8_t* message, uint32_t length) {
  return entry<int32_t>(
      Ep::SendDiseqCmd,
      [&] {
        return join({messageArg(message, length), tr::u32(length)});
      },
      [&](Simulator& sim, std::string&) {
        Lock lock(sim.mutex());
        DeviceState* dev = sim.registry().started();
        return dev && diseqcMessage(*dev, message, length) ? 1 : 0;
      });
}

// The contract's reply buffer holds 8 bytes: no more are written, and
// *replyCount says how many the answer has (a configured odd reply may claim
// more).
QV_EXPORT int32_t QV_API SendDiseqCmdEx(uint8_t* message, uint32_t length, uint8_t* reply,
                                        uint32_t* replyCount) {
  return entry<int32_t>(
      Ep::SendDiseqCmdEx,
      [&] {
        return join(
            {messageArg(message, length), tr::u32(length), tr::out(reply), tr::out(replyCount)});
      },
      [&](Simulator& sim, std::string& out) {
        if (!reply || !replyCount) return 0;
        std::vector<uint8_t> answer;
        {
          Lock lock(sim.mutex());
          DeviceState* dev = sim.registry().started();
          if (!dev || !diseqcMessageWithReply(*dev, message, length, &answer)) return 0;
        }
        uint32_t count = static_cast<uint32_t>(answer.size());
        if (const auto& odd = sim.config().diseqcReply) answer = odd->bytes, count = odd->count;
        if (answer.size() > 8) answer.resize(8);
        std::copy(answer.begin(), answer.end(), reply);
        *replyCount = count;
        out = answer.empty() ? "count=" + std::to_string(count)
                             : "reply=" + tr::bytes(answer.data(), answer.size()) +
                                   " count=" + std::to_string(count);
        return 1;
      });
}

QV_EXPORT int32_t QV_API SetChannel(uint32_t freqKHz, uint32_t symbolRate, uint32_t pol,
                                    uint32_t fec, uint32_t lofLowKHz, uint32_t lofHighKHz,
                                    uint32_t lofSwitchKHz) {
  return entry<int32_t>(
      Ep::SetChannel,
      [&] {
        return join({tr::u32(freqKHz), tr::u32(symbolRate), tr::u32(pol), tr::u32(fec),
                     tr::u32(lofLowKHz), tr::u32(lofHighKHz), tr::u32(lofSwitchKHz)});
      },
      [&](Simulator& sim, std::string&) {
        TuneRequest t;
        t.freqKHz = freqKHz, t.symbolRate = symbolRate, t.pol = pol, t.fec = fec;
        t.lofLowKHz = lofLowKHz, t.lofHighKHz = lofHighKHz, t.lofSwitchKHz = lofSwitchKHz;
        t.generation = 1;
        return setChannel(sim, t);
      });
}

QV_EXPORT int32_t QV_API SetChannelEx(uint32_t freqKHz, uint32_t symbolRate, uint32_t pol,
                                      uint32_t fec, uint32_t lofLowKHz, uint32_t lofHighKHz,
                                      uint32_t lofSwitchKHz, uint32_t modulation) {
  return entry<int32_t>(
      Ep::SetChannelEx,
      [&] {
        return join({tr::u32(freqKHz), tr::u32(symbolRate), tr::u32(pol), tr::u32(fec),
                     tr::u32(lofLowKHz), tr::u32(lofHighKHz), tr::u32(lofSwitchKHz),
                     tr::u32(modulation)});
      },
      [&](Simulator& sim, std::string&) {
        TuneRequest t;
        t.freqKHz = freqKHz, t.symbolRate = symbolRate, t.pol = pol, t.fec = fec;
        t.lofLowKHz = lofLowKHz, t.lofHighKHz = lofHighKHz, t.lofSwitchKHz = lofSwitchKHz;
        t.modulation = modulation;
        t.generation = 2;
        return setChannel(sim, t);
      });
}

QV_EXPORT int32_t QV_API SetChannelExEx(uint32_t freqKHz, uint32_t symbolRate, uint32_t pol,
                                        uint32_t fec, uint32_t lofLowKHz, uint32_t lofHighKHz,
                                        uint32_t lofSwitchKHz, uint32_t modulation,
                                        uint32_t inversion, uint32_t pilot, uint32_t rollOff) {
  return entry<int32_t>(
      Ep::SetChannelExEx,
      [&] {
        return join({tr::u32(freqKHz), tr::u32(symbolRate), tr::u32(pol), tr::u32(fec),
                     tr::u32(lofLowKHz), tr::u32(lofHighKHz), tr::u32(lofSwitchKHz),
                     tr::u32(modulation), tr::u32(inversion), tr::u32(pilot), tr::u32(rollOff)});
      },
      [&](Simulator& sim, std::string&) {
        TuneRequest t;
        t.freqKHz = freqKHz, t.symbolRate = symbolRate, t.pol = pol, t.fec = fec;
        t.lofLowKHz = lofLowKHz, t.lofHighKHz = lofHighKHz, t.lofSwitchKHz = lofSwitchKHz;
        t.modulation = modulation, t.inversion = inversion, t.pilot = pilot, t.rollOff = rollOff;
        t.generation = 3;
        return setChannel(sim, t);
      });
}

QV_EXPORT int32_t QV_API SetFilter(uint32_t pid, QvTsDataCallback callback, uint32_t mode,
                                   uint32_t flags, int32_t* filter) {
  return entry<int32_t>(
      Ep::SetFilter,
      [&] {
        return join({tr::u32(pid), tr::callback(callback != nullptr), tr::u32(mode), tr::u32(flags),
                     tr::out(filter)});
      },
      [&](Simulator& sim, std::string& out) {
        if (!callback || !filter || pid > 8192) return 0;
        Lock lock(sim.mutex());
        const DeviceState* dev = sim.registry().started();
        if (!dev) return 0;
        Filter f;
        f.kind = FilterKind::TransportStream;
        f.deviceId = dev->config.id;
        f.pid = pid, f.mode = mode, f.flags = flags, f.tsCallback = callback;
        const int32_t n = sim.filters().add(f);
        if (n == 0) return 0;
        // Packets may arrive before this call returns, as on a real card.
        streamDeck().start(n);
        *filter = n;
        out = "filter=" + tr::s32(n);
        return 1;
      });
}

QV_EXPORT int32_t QV_API SetRemoteControl(uint32_t type, uint32_t deviceFilter,
                                          QvRcCallback callback, int32_t* filter) {
  return entry<int32_t>(
      Ep::SetRemoteControl,
      [&] {
        return join({tr::u32(type), tr::u32(deviceFilter), tr::callback(callback != nullptr),
                     tr::out(filter)});
      },
      [&](Simulator& sim, std::string& out) {
        if (type > 1 || !callback || !filter) return 0;
        Lock lock(sim.mutex());
        const DeviceState* dev = startedWith(sim, QV_CAP_REMOTE_CONTROL);
        if (!dev) return 0;
        Filter f;
        f.kind = FilterKind::RemoteControl;
        f.deviceId = dev->config.id;
        f.rcType = type, f.rcDeviceFilter = deviceFilter, f.rcCallback = callback;
        const int32_t n = sim.filters().add(f);
        if (n == 0) return 0;
        // Codes may arrive before this call returns, as on a real card.
        remoteDeck().start(n);
        *filter = n;
        out = "filter=" + tr::s32(n);
        return 1;
      });
}

// Returns only when no callback of the filter is running or will run (a
// callback deleting its own filter is not waited for); a remote-control
// filter's player thread has ended by then too.
QV_EXPORT int32_t QV_API DelFilter(int32_t filter) {
  return entry<int32_t>(
      Ep::DelFilter, [&] { return tr::s32(filter); },
      [&](Simulator& sim, std::string&) {
        if (!sim.filters().remove(filter)) return 0;
        streamDeck().reap();
        return 1;
      });
}

QV_EXPORT int32_t QV_API GetSignal(int32_t* level, int32_t* quality) {
  return entry<int32_t>(
      Ep::GetSignal,
      [&] {
        return join({tr::out(level), tr::out(quality)});
      },
      [&](Simulator& sim, std::string& out) {
        SignalReport s;
        if (!level || !quality || !signal(sim, SignalReader::GetSignal, &s)) return 0;
        *level = wholePercent(s.levelPercent);
        *quality = s.qualityPercent;
        out = "level=" + tr::s32(*level) + " quality=" + tr::s32(s.qualityPercent);
        return 1;
      });
}

QV_EXPORT int32_t QV_API GetSignalStrength(float* level, int32_t* quality) {
  return entry<int32_t>(
      Ep::GetSignalStrength,
      [&] {
        return join({tr::out(level), tr::out(quality)});
      },
      [&](Simulator& sim, std::string& out) {
        SignalReport s;
        if (!level || !quality || !signal(sim, SignalReader::GetSignalStrength, &s)) {
          return 0;
        }
        *level = s.levelPercent;
        *quality = s.qualityPercent;
        out = "level=" + tr::real(*level) + " quality=" + tr::s32(s.qualityPercent);
        return 1;
      });
}

QV_EXPORT int32_t QV_API GetSignalEx(float* snr, float* ber) {
  return entry<int32_t>(
      Ep::GetSignalEx,
      [&] {
        return join({tr::out(snr), tr::out(ber)});
      },
      [&](Simulator& sim, std::string& out) {
        SignalReport s;
        if (!snr || !ber || !signal(sim, SignalReader::GetSignalEx, &s)) return 0;
        *snr = s.snrDb;
        *ber = s.ber;
        out = "snr=" + tr::real(s.snrDb) + " ber=" + tr::real(s.ber);
        return 1;
      });
}

// `reserved` may be null; when given it receives 0.
QV_EXPORT int32_t QV_API GetSignalExEx(uint32_t* reserved, int32_t* lock, int32_t* rfLevel,
                                       float* snr, float* ber) {
  return entry<int32_t>(
      Ep::GetSignalExEx,
      [&] {
        return join(
            {tr::out(reserved), tr::out(lock), tr::out(rfLevel), tr::out(snr), tr::out(ber)});
      },
      [&](Simulator& sim, std::string& out) {
        SignalReport s;
        if (!lock || !rfLevel || !snr || !ber || !signal(sim, SignalReader::GetSignalExEx, &s)) {
          return 0;
        }
        if (reserved) *reserved = 0;
        *lock = s.lock;
        *rfLevel = s.rfLevelDbm;
        *snr = s.snrDb;
        *ber = s.ber;
        out = "lock=" + tr::s32(s.lock) + " rf=" + tr::s32(s.rfLevelDbm) +
              " snr=" + tr::real(s.snrDb) + " ber=" + tr::real(s.ber);
        return 1;
      });
}

QV_EXPORT int32_t QV_API Statistic(QvStatistic* statistic) {
  return entry<int32_t>(
      Ep::Statistic, [&] { return tr::out(statistic); },
      [&](Simulator& sim, std::string& out) {
        SignalReport s;
        if (!statistic || !signal(sim, SignalReader::Statistic, &s)) return 0;
        statistic->lock = s.lock;
        statistic->quality = s.qualityPercent;
        statistic->present = s.present;
        statistic->level = wholePercent(s.levelPercent);
        out = "lock=" + tr::s32(s.lock) + " quality=" + tr::s32(s.qualityPercent) +
              " present=" + tr::s32(s.present) + " level=" + tr::s32(statistic->level);
        return 1;
      });
}

QV_EXPORT int32_t QV_API GetMAC(uint8_t* mac) {
  return entry<int32_t>(
      Ep::GetMAC, [&] { return tr::out(mac); },
      [&](Simulator& sim, std::string& out) {
        if (!mac) return 0;
        Lock lock(sim.mutex());
        const DeviceState* dev = startedWith(sim, QV_CAP_MAC);
        if (!dev) return 0;
        // The card reads its MAC from its EEPROM.
        loadKeptEeproms(sim);
        const std::array<uint8_t, 6> stored = dev->eeprom.mac();
        std::copy(stored.begin(), stored.end(), mac);
        out = formatMac(stored);
        return 1;
      });
}

QV_EXPORT int32_t QV_API GetEEPROM(uint8_t* buffer, uint32_t offset, uint32_t size) {
  return entry<int32_t>(
      Ep::GetEEPROM,
      [&] {
        return join({tr::out(buffer), tr::u32(offset), tr::u32(size)});
      },
      [&](Simulator& sim, std::string&) {
        if (!validEepromRequest(buffer, offset, size)) return 0;
        Lock lock(sim.mutex());
        const DeviceState* dev = startedWith(sim, QV_CAP_EEPROM);
        if (!dev) return 0;
        loadKeptEeproms(sim);
        dev->eeprom.read(buffer, size);
        return 1;
      });
}

// The trace shows the first 8 bytes written, and only for a valid request.
QV_EXPORT int32_t QV_API SetEEPROM(uint8_t* buffer, uint32_t offset, uint32_t size) {
  return entry<int32_t>(
      Ep::SetEEPROM,
      [&] {
        std::string data = !buffer ? "null"
                           : validEepromRequest(buffer, offset, size)
                               ? tr::bytes(buffer, 8) + " ..."
                               : "?";
        return join({data, tr::u32(offset), tr::u32(size)});
      },
      [&](Simulator& sim, std::string& out) {
        if (!validEepromRequest(buffer, offset, size)) return 0;
        Lock lock(sim.mutex());
        DeviceState* dev = startedWith(sim, QV_CAP_EEPROM);
        if (!dev) return 0;
        loadKeptEeproms(sim);
        // A write that cannot be kept fails as a whole: the card keeps its
        // old content rather than one the file does not have.
        const EepromImage before = dev->eeprom;
        dev->eeprom.write(buffer, size);
        if (!sim.registry().saveEeproms(sim.config().eepromFile)) {
          dev->eeprom = before;
          out = "not kept: cannot write " + sim.config().eepromFile;
          return 0;
        }
        return 1;
      });
}

QV_EXPORT uint32_t QV_API GetCaps(void) {
  return entry<uint32_t>(
      Ep::GetCaps, [] { return std::string(); },
      [](Simulator& sim, std::string&) -> uint32_t {
        Lock lock(sim.mutex());
        const DeviceState* dev = sim.registry().started();
        return dev ? dev->config.caps : 0u;
      });
}

QV_EXPORT int32_t QV_API MISSel(uint32_t enable, uint32_t streamId, uint32_t mask) {
  return entry<int32_t>(
      Ep::MISSel,
      [&] {
        return join({tr::u32(enable), tr::u32(streamId), tr::u32(mask)});
      },
      [&](Simulator& sim, std::string&) {
        // The first argument is the program's list index: zero means no
        // stream filter, any other value selects streamId.
        if (streamId > 255 || mask > 255) return 0;
        Lock lock(sim.mutex());
        DeviceState* dev = startedWith(sim, QV_CAP_MIS);
        if (!dev) return 0;
        dev->mis = {enable != 0, streamId, mask};
        return 1;
      });
}

// Exported for completeness; the program never calls them.
QV_EXPORT int32_t QV_API SetFilterEx(void) { return unused(Ep::SetFilterEx); }
QV_EXPORT int32_t QV_API SetBitFilter(void) { return unused(Ep::SetBitFilter); }
QV_EXPORT int32_t QV_API SetBBFilter(void) { return unused(Ep::SetBBFilter); }
QV_EXPORT int32_t QV_API RFScan(void) { return unused(Ep::RFScan); }
QV_EXPORT int32_t QV_API BLScan(void) { return unused(Ep::BLScan); }
QV_EXPORT int32_t QV_API BLScanEx(void) { return unused(Ep::BLScanEx); }
QV_EXPORT int32_t QV_API IQScan(void) { return unused(Ep::IQScan); }
QV_EXPORT int32_t QV_API RFScan2(void) { return unused(Ep::RFScan2); }
QV_EXPORT int32_t QV_API BLScan2(void) { return unused(Ep::BLScan2); }
QV_EXPORT int32_t QV_API SignalInfo(void) { return unused(Ep::SignalInfo); }
QV_EXPORT int32_t QV_API SignalInfo2(void) { return unused(Ep::SignalInfo2); }
QV_EXPORT int32_t QV_API SetChannel2(void) { return unused(Ep::SetChannel2); }
QV_EXPORT int32_t QV_API SetChannel2Ex(void) { return unused(Ep::SetChannel2Ex); }
QV_EXPORT int32_t QV_API PLSSel(void) { return unused(Ep::PLSSel); }
QV_EXPORT int32_t QV_API IQScan2(void) { return unused(Ep::IQScan2); }
QV_EXPORT int32_t QV_API IQScan2Range(void) { return unused(Ep::IQScan2Range); }

}  // extern "C"
