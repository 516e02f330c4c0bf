#include "devices.h"

#include <algorithm>

namespace qvsim {

DeviceState::DeviceState(DeviceConfig c) : config(std::move(c)), eeprom(config) {}

void DeviceState::resetSession() {
  tune.reset();
  mis = {};
  diseqc = {};
  antenna = {};
  meter = {};
}

DeviceRegistry::DeviceRegistry(const std::vector<DeviceConfig>& devices) {
  devices_.reserve(devices.size());
  for (const auto& d : devices) devices_.emplace_back(d);
}

bool DeviceRegistry::start(uint32_t id, std::optional<uint32_t>* stopped) {
  std::optional<size_t> found;
  if (id == 0xFFFFFFFFu) {
    if (!devices_.empty()) found = 0;
  } else {
    for (size_t i = 0; i < devices_.size(); ++i) {
      if (devices_[i].config.id == id) found = i;
    }
  }
  if (!found) return false;
  if (started_ == found) return true;
  if (started_) {
    if (stopped) *stopped = devices_[*started_].config.id;
    devices_[*started_].resetSession();
  }
  started_ = found;
  devices_[*found].resetSession();
  return true;
}

bool DeviceRegistry::stop(uint32_t* stopped) {
  if (!started_) return false;
  if (stopped) *stopped = devices_[*started_].config.id;
  devices_[*started_].resetSession();
  started_.reset();
  return true;
}

DeviceState* DeviceRegistry::started() { return started_ ? &devices_[*started_] : nullptr; }

std::string DeviceRegistry::loadEepromsOnce(const std::string& path) {
  if (eepromsLoaded_) return "";
  eepromsLoaded_ = true;
  if (path.empty()) return "";
  std::vector<EepromImage*> images;
  for (DeviceState& d : devices_) images.push_back(&d.eeprom);
  return loadEepromFile(path, images);
}

bool DeviceRegistry::saveEeproms(const std::string& path) const {
  if (path.empty()) return true;
  std::vector<const EepromImage*> images;
  for (const DeviceState& d : devices_) images.push_back(&d.eeprom);
  return saveEepromFile(path, images);
}

}  // namespace qvsim
