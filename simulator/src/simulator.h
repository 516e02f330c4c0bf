// The virtual card as one object: configuration, devices, filters, failure
// plan and trace. One instance per loaded library, created on first use (the
// exports force that when the library is loaded).
#pragma once

#include <mutex>
#include <string>

#include "config.h"
#include "devices.h"
#include "faults.h"
#include "filters.h"
#include "trace.h"

namespace qvsim {

class Simulator {
 public:
  // Reads QUORVEX_SIM_TRACE and QUORVEX_SIM_CONFIG.
  Simulator();
  // For tests: an explicit configuration and trace file ("" = no trace).
  Simulator(Config config, const std::string& tracePath);

  const Config& config() const { return config_; }
  Trace& trace() { return trace_; }
  FaultPlan& faults() { return faults_; }
  FilterTable& filters() { return filters_; }

  // The library lock guards the device registry. Never held while calling
  // back into the program, nor while waiting in the filter table.
  std::mutex& mutex() { return mu_; }
  DeviceRegistry& registry() { return registry_; }

 private:
  Trace trace_;
  Config config_;
  FaultPlan faults_;
  std::mutex mu_;
  DeviceRegistry registry_;
  FilterTable filters_;
};

Simulator& simulator();

}  // namespace qvsim
