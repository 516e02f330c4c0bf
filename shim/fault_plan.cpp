#include "fault_plan.h"

namespace qvabi {

void FaultPlan::setRules(const std::map<std::string, FailRule>& rules) {
  std::lock_guard lock(mu_);
  rules_ = {};
  for (const auto& [name, rule] : rules) {
    const int id = entryIdByName(name);
    if (id >= 0) rules_[static_cast<size_t>(id)] = rule;
  }
}

bool FaultPlan::nextCallFails(Ep e) {
  const auto i = static_cast<size_t>(e);
  std::lock_guard lock(mu_);
  const uint64_t n = ++calls_[i];
  const auto& rule = rules_[i];
  if (!rule || n < rule->from) return false;
  return !rule->count || n - rule->from < *rule->count;
}

}  // namespace qvabi
