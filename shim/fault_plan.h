// Failure injection: counts the calls of each entry point and says which ones
// the library's configuration wants to fail.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "entry_points.h"

namespace qvabi {

// Calls number from, from+1, ... from+count-1 of one entry point fail
// (counted from 1 over every call of that entry point). No count: for ever.
struct FailRule {
  uint64_t from = 1;
  std::optional<uint64_t> count;
};

class FaultPlan {
 public:
  // Takes rules keyed by entry point name (unknown names are ignored) in
  // place of the ones before; the call counts go on.
  void setRules(const std::map<std::string, FailRule>& rules);
  // Counts one call of `e`; true when this call is to fail.
  bool nextCallFails(Ep e);

 private:
  std::mutex mu_;
  std::array<uint64_t, kEntryCount> calls_{};
  std::array<std::optional<FailRule>, kEntryCount> rules_{};
};

}  // namespace qvabi
