// The virtual card as one object: configuration, devices, filters, failure
// plan and trace, and the operations the entry points ask of it. One instance
// per loaded library, created on first use (the library forces that when it is
// loaded).
#pragma once

#include <mutex>
#include <string>

#include "backend.h"
#include "config.h"
#include "devices.h"
#include "filters.h"
#include "late_calls.h"

namespace qvsim {

using qvabi::CallTrace;

class Simulator : public qvabi::Backend {
 public:
  // Reads QUORVEX_SIM_TRACE and QUORVEX_SIM_CONFIG.
  Simulator();
  // For tests: an explicit configuration and trace file ("" = no trace).
  Simulator(Config config, const std::string& tracePath);

  const Config& config() const { return config_; }
  FilterTable& filters() { return filters_; }

  // The library lock guards the device registry. Never held while calling
  // back into the program, nor while waiting in the filter table.
  std::mutex& mutex() { return mu_; }
  DeviceRegistry& registry() { return registry_; }

  bool devices(std::vector<qvabi::DeviceEntry>& list) override;
  void keepReporting(std::function<void(const qvabi::DeviceEntry&)> report) override;
  bool start(uint32_t id, uint32_t& startedId) override;
  bool stop() override;
  bool tunerType(uint32_t& type) override;
  uint32_t caps() override;
  bool tune(const TuneArgs& args, qvabi::TuneGeneration generation) override;
  bool selectStream(uint32_t enable, uint32_t streamId, uint32_t mask) override;
  bool signal(SignalReader reader, SignalFigures& figures) override;
  qvabi::SignalOutputs signalOutputs(SignalReader reader) override;
  bool diseqcSimple(uint32_t mode, uint32_t data) override;
  bool diseqcSend(const uint8_t* message, uint32_t length) override;
  bool diseqcExchange(const uint8_t* message, uint32_t length, std::vector<uint8_t>& reply,
                      uint32_t& count) override;
  bool addTsFilter(uint32_t pid, QvTsDataCallback callback, uint32_t mode, uint32_t flags,
                   int32_t& number) override;
  bool addRcFilter(uint32_t type, uint32_t deviceFilter, QvRcCallback callback,
                   int32_t& number) override;
  bool deleteFilter(int32_t number) override;
  bool mac(std::array<uint8_t, 6>& mac) override;
  bool readEeprom(uint8_t* buffer, uint32_t size) override;
  bool writeEeprom(const uint8_t* buffer, uint32_t size) override;

 private:
  // The started device when it has all of `caps`, else null. Lock held.
  DeviceState* startedWith(uint32_t caps);
  // The kept EEPROM images come in on first use of the EEPROM. Lock held.
  void loadKeptEeproms();
  // A deleted filter's callbacks that the configuration makes come late.
  void callLate(const Filter& deleted);

  Config config_;
  std::mutex mu_;
  DeviceRegistry registry_;
  FilterTable filters_;
  // Last, so it is joined first: its calls may reach into the rest.
  LateCalls late_;
};

Simulator& simulator();

}  // namespace qvsim
