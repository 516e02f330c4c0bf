// Loads a private copy of a virtual card build so that each test gets a fresh
// library: the card reads QUORVEX_SIM_CONFIG and QUORVEX_SIM_TRACE when it is
// loaded, and dlopen of an already loaded file would hand back the old state.
#pragma once

#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "quorvex_api.h"

namespace simtest {

class SimLib {
 public:
  // variant: "" for build/bin/libquorvex.so, else its folder ("legacy", ...).
  // configJson: written to a file named by QUORVEX_SIM_CONFIG (none if absent);
  // "@path" names an existing (or missing) file instead.
  // tracePath: null traces to a file of its own (see traceLines()), "" leaves
  // QUORVEX_SIM_TRACE unset, anything else is used as it is.
  explicit SimLib(const std::string& variant = "",
                  const std::optional<std::string>& configJson = std::nullopt,
                  const char* tracePath = nullptr);
  ~SimLib();
  SimLib(const SimLib&) = delete;
  SimLib& operator=(const SimLib&) = delete;

  void* symbol(const char* name) const;

  template <class Fn>
  Fn fn(const char* name) const {
    void* p = symbol(name);
    if (!p) throw std::runtime_error(std::string("missing export ") + name);
    Fn f;
    std::memcpy(&f, &p, sizeof f);
    return f;
  }

  std::vector<std::string> traceLines() const;
  const std::string& dir() const { return dir_; }

 private:
  std::string dir_;
  void* handle_ = nullptr;
};

// A configJson value that points QUORVEX_SIM_CONFIG at a missing file.
std::string missingPath();

}  // namespace simtest

// Shorthand for the common exports.
#define SIM_FN(lib, name) (lib).fn<PFN_##name>(#name)
