#include "simulator.h"

#include <cstdlib>

namespace qvsim {
namespace {

std::string envOrEmpty(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

Config configFromEnvironment(CallTrace& trace) {
  const std::string path = envOrEmpty("QUORVEX_SIM_CONFIG");
  if (path.empty()) return defaultConfig();
  std::string problem;
  Config c = loadConfigFile(path, &problem);
  if (!problem.empty()) trace.line("# config: " + problem + "; using the built-in devices");
  for (const std::string& note : c.notes) trace.line("# config: " + note);
  return c;
}

CallTrace& openTrace(CallTrace& trace, const std::string& path) {
  if (!path.empty()) trace.open(path);
  return trace;
}

}  // namespace

// The trace opens first, so a configuration problem is traced.
Simulator::Simulator()
    : config_(configFromEnvironment(openTrace(trace(), envOrEmpty("QUORVEX_SIM_TRACE")))),
      registry_(config_.devices) {
  faults().setRules(config_.fail);
}

Simulator::Simulator(Config config, const std::string& tracePath)
    : config_(std::move(config)), registry_(config_.devices) {
  openTrace(trace(), tracePath);
  faults().setRules(config_.fail);
}

Simulator& simulator() {
  static Simulator instance;
  return instance;
}

}  // namespace qvsim

namespace qvabi {
Backend& backend() { return qvsim::simulator(); }
}  // namespace qvabi
