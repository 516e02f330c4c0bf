// The virtual card's answers to the entry points. The export layer has
// checked the pointers and written the trace; this file keeps the card's own
// rules: which device runs, what it can do, and what it has remembered.
#include <algorithm>
#include <array>

#include "call_notes.h"
#include "simulator.h"
#include "virtual_remote.h"
#include "world.h"

namespace qvsim {
namespace {
using Lock = std::lock_guard<std::mutex>;
}  // namespace

DeviceState* Simulator::startedWith(uint32_t caps) {
  DeviceState* dev = registry_.started();
  return dev && (dev->config.caps & caps) == caps ? dev : nullptr;
}

void Simulator::loadKeptEeproms() {
  const std::string note = registry_.loadEepromsOnce(config_.eepromFile);
  if (!note.empty()) trace().line("# eeprom: " + note);
}

bool Simulator::devices(std::vector<qvabi::DeviceEntry>& list) {
  Lock lock(mu_);
  for (const auto& d : registry_.devices())
    list.push_back({d.config.id, d.config.name, d.config.type});
  return true;
}

void Simulator::keepReporting(std::function<void(const qvabi::DeviceEntry&)> report) {
  std::vector<qvabi::DeviceEntry> list;
  if (config_.late.enumeration == 0 || !devices(list) || list.empty()) return;
  for (uint32_t i = 0; i < config_.late.enumeration; ++i) {
    late_.After(config_.late.intervalMs * (i + 1),
                [report, d = list[i % list.size()]] { report(d); });
  }
}

void Simulator::callLate(const Filter& f) {
  const uint32_t count =
      f.kind == FilterKind::RemoteControl ? config_.late.remote : config_.late.stream;
  for (uint32_t i = 0; i < count; ++i) {
    late_.After(config_.late.intervalMs * (i + 1), [this, f] {
      std::string line = "  -> late ";
      line += f.kind == FilterKind::RemoteControl ? "RcCode(" : "TsData(";
      line += qvabi::tr::s32(f.number);
      line += ')';
      trace().line(line);
      if (f.kind == FilterKind::RemoteControl) {
        // The first key of the remote: RC-5 command 1 at address 0, both
        // start bits set; a RAW filter gets its two bytes.
        const uint16_t word = 0x3001;
        const uint8_t bytes[2] = {0x30, 0x01};
        if (f.rcType == 0) {
          f.rcCallback(bytes, 2);
        } else {
          f.rcCallback(&word, 2);
        }
      } else {
        // Seven null packets, as a card's last buffer might be.
        static const auto packets = [] {
          std::array<uint8_t, 7 * 188> p{};
          for (size_t at = 0; at < p.size(); at += 188) {
            p[at] = 0x47, p[at + 1] = 0x1F, p[at + 2] = 0xFF, p[at + 3] = 0x10;
          }
          return p;
        }();
        f.tsCallback(packets.data(), static_cast<uint32_t>(packets.size()));
      }
    });
  }
}

bool Simulator::start(uint32_t id, uint32_t& startedId) {
  std::optional<uint32_t> switchedFrom;
  {
    Lock lock(mu_);
    if (!registry_.start(id, &switchedFrom)) return false;
    startedId = registry_.started()->config.id;
  }
  // The device switched away from loses its filters, as if stopped.
  if (switchedFrom) {
    filters_.removeDevice(*switchedFrom);
    reapStreams();
  }
  return true;
}

bool Simulator::stop() {
  // Nothing of the device calls late once it is stopped (the program stops
  // it before unloading the library).
  late_.Drop();
  uint32_t stopped = 0;
  {
    Lock lock(mu_);
    if (!registry_.stop(&stopped)) return false;
  }
  filters_.removeDevice(stopped);
  reapStreams();
  return true;
}

bool Simulator::tunerType(uint32_t& type) {
  Lock lock(mu_);
  const DeviceState* dev = registry_.started();
  if (!dev) return false;
  type = dev->config.type;
  return true;
}

uint32_t Simulator::caps() {
  Lock lock(mu_);
  const DeviceState* dev = registry_.started();
  return dev ? dev->config.caps : 0u;
}

bool Simulator::tune(const TuneArgs& args, qvabi::TuneGeneration generation) {
  TuneRequest request;
  static_cast<TuneArgs&>(request) = args;
  request.generation = generation;
  Lock lock(mu_);
  DeviceState* dev = registry_.started();
  // A request the tuner cannot carry out is refused and changes nothing.
  if (!dev || !acceptsTune(dev->config.type, request)) return false;
  applyTune(*dev, request);
  return true;
}

// The first argument is the program's list index: zero means no stream
// filter, any other value selects streamId.
bool Simulator::selectStream(uint32_t enable, uint32_t streamId, uint32_t mask) {
  if (streamId > 255 || mask > 255) return false;
  Lock lock(mu_);
  DeviceState* dev = startedWith(QV_CAP_MIS);
  if (!dev) return false;
  dev->mis = {enable != 0, streamId, mask};
  return true;
}

bool Simulator::signal(SignalReader reader, SignalFigures& figures) {
  Lock lock(mu_);
  DeviceState* dev = registry_.started();
  if (!dev) return false;
  figures = measureSignal(*dev, reader, config_.sky, config_.seed);
  return true;
}

qvabi::SignalOutputs Simulator::signalOutputs(SignalReader reader) {
  const auto it = config_.signalOutputs.find(reader);
  return it != config_.signalOutputs.end() ? it->second : qvabi::SignalOutputs{};
}

bool Simulator::diseqcSimple(uint32_t mode, uint32_t data) {
  Lock lock(mu_);
  DeviceState* dev = registry_.started();
  return dev && qvsim::diseqcSimple(*dev, mode, data);
}

bool Simulator::diseqcSend(const uint8_t* message, uint32_t length) {
  Lock lock(mu_);
  DeviceState* dev = registry_.started();
  return dev && diseqcMessage(*dev, message, length);
}

// A configured odd reply replaces the bus's answer, count and all.
bool Simulator::diseqcExchange(const uint8_t* message, uint32_t length, std::vector<uint8_t>& reply,
                               uint32_t& count) {
  {
    Lock lock(mu_);
    DeviceState* dev = registry_.started();
    if (!dev || !diseqcMessageWithReply(*dev, message, length, &reply)) return false;
  }
  count = static_cast<uint32_t>(reply.size());
  if (const auto& odd = config_.diseqcReply) reply = odd->bytes, count = odd->count;
  return true;
}

bool Simulator::addTsFilter(uint32_t pid, QvTsDataCallback callback, uint32_t mode, uint32_t flags,
                            int32_t& number) {
  if (pid > 8192) return false;
  Lock lock(mu_);
  const DeviceState* dev = registry_.started();
  if (!dev) return false;
  Filter f;
  f.kind = FilterKind::TransportStream;
  f.deviceId = dev->config.id;
  f.pid = pid, f.mode = mode, f.flags = flags, f.tsCallback = callback;
  number = filters_.add(f);
  if (number == 0) return false;
  // Packets may arrive before the entry point returns, as on a real card.
  startStream(number);
  return true;
}

bool Simulator::addRcFilter(uint32_t type, uint32_t deviceFilter, QvRcCallback callback,
                            int32_t& number) {
  Lock lock(mu_);
  const DeviceState* dev = startedWith(QV_CAP_REMOTE_CONTROL);
  if (!dev) return false;
  Filter f;
  f.kind = FilterKind::RemoteControl;
  f.deviceId = dev->config.id;
  f.rcType = type, f.rcDeviceFilter = deviceFilter, f.rcCallback = callback;
  number = filters_.add(f);
  if (number == 0) return false;
  // Codes may arrive before the entry point returns, as on a real card.
  remoteDeck().start(number);
  return true;
}

// A callback deleting its own filter is not waited for; a remote-control
// filter's player thread has ended by the time this returns.
bool Simulator::deleteFilter(int32_t number) {
  const std::optional<Filter> deleted = filters_.find(number);
  if (!filters_.remove(number)) return false;
  reapStreams();
  if (deleted) callLate(*deleted);
  return true;
}

// The card reads its MAC from its EEPROM.
bool Simulator::mac(std::array<uint8_t, 6>& mac) {
  Lock lock(mu_);
  const DeviceState* dev = startedWith(QV_CAP_MAC);
  if (!dev) return false;
  loadKeptEeproms();
  mac = dev->eeprom.mac();
  return true;
}

bool Simulator::readEeprom(uint8_t* buffer, uint32_t size) {
  if (size > kEepromSize) return false;
  Lock lock(mu_);
  const DeviceState* dev = startedWith(QV_CAP_EEPROM);
  if (!dev) return false;
  loadKeptEeproms();
  dev->eeprom.read(buffer, size);
  return true;
}

// A write that cannot be kept fails as a whole: the card keeps its old
// content rather than one the file does not have.
bool Simulator::writeEeprom(const uint8_t* buffer, uint32_t size) {
  if (size > kEepromSize) return false;
  Lock lock(mu_);
  DeviceState* dev = startedWith(QV_CAP_EEPROM);
  if (!dev) return false;
  loadKeptEeproms();
  const EepromImage before = dev->eeprom;
  dev->eeprom.write(buffer, size);
  if (!registry_.saveEeproms(config_.eepromFile)) {
    dev->eeprom = before;
    std::string why = "not kept: cannot write ";
    why += config_.eepromFile;
    qvabi::note(why);
    return false;
  }
  return true;
}

}  // namespace qvsim
