// The virtual card's answers to the entry points. The export layer has
// checked the pointers and written the trace; this file keeps the card's own
// rules: which device runs, what it can do, and what it has remembered.
#include <algorithm>

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
  if (!filters_.remove(number)) return false;
  reapStreams();
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
