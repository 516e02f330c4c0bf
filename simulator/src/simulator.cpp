#include "simulator.h"

#include <cstdlib>

namespace qvsim {
namespace {

std::string envOrEmpty(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

Config configFromEnvironment(Trace& trace) {
  const std::string path = envOrEmpty("QUORVEX_SIM_CONFIG");
  if (path.empty()) return defaultConfig();
  std::string problem;
  Config c = loadConfigFile(path, &problem);
  if (!problem.empty()) trace.line("# config: " + problem + "; using the built-in devices");
  return c;
}

Trace& openTrace(Trace& trace, const std::string& path) {
  if (!path.empty()) trace.open(path);
  return trace;
}

}  // namespace

Simulator::Simulator()
    : config_(configFromEnvironment(openTrace(trace_, envOrEmpty("QUORVEX_SIM_TRACE")))),
      faults_(config_),
      registry_(config_.devices) {}

Simulator::Simulator(Config config, const std::string& tracePath)
    : config_(std::move(config)), faults_(config_), registry_(config_.devices) {
  openTrace(trace_, tracePath);
}

Simulator& simulator() {
  static Simulator instance;
  return instance;
}

}  // namespace qvsim
