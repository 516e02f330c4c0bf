// Failure injection: counts the calls of each entry point and says which ones
// the configuration wants to fail.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>

#include "config.h"
#include "entry_points.h"

namespace qvsim {

class FaultPlan {
 public:
  explicit FaultPlan(const Config& config);
  // Counts one call of `e`; true when this call is to fail.
  bool nextCallFails(Ep e);

 private:
  std::mutex mu_;
  std::array<uint64_t, kEntryCount> calls_{};
  std::array<std::optional<FailRule>, kEntryCount> rules_{};
};

}  // namespace qvsim
