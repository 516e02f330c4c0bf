#include "sweep/sweep_plan.h"

#include <map>
#include <tuple>
#include <variant>

#include "tuner/tuner_type.h"

namespace {

using Key = std::tuple<int, uint32_t, int32_t, uint32_t, int>;

Key TransponderKey(const channels::ChannelEntry& e, const ChannelTuning& t) {
  return {static_cast<int>(channels::FamilyOf(e.system)), t.freqKHz, t.fields.pol, t.symbolRate,
          t.streamId ? *t.streamId : -1};
}

}  // namespace

std::vector<SkipCount> SweepPlan::SkipCounts() const {
  std::vector<SkipCount> counts;
  for (const SweepSkip& s : skipped) {
    auto it = counts.begin();
    while (it != counts.end() && it->reason != s.reason) ++it;
    if (it == counts.end()) it = counts.insert(it, {s.reason, 0});
    ++it->count;
  }
  return counts;
}

SweepPlan PlanSweep(const std::vector<channels::ChannelFile>& files,
                    std::optional<uint32_t> tunerType, const LnbValues& lnb) {
  SweepPlan plan;
  std::map<Key, size_t> seen;
  for (const channels::ChannelFile& file : files) {
    plan.errors.insert(plan.errors.end(), file.errors.begin(), file.errors.end());
    for (const channels::ChannelEntry& e : file.entries) {
      if (tunerType && !TunerTypeReceives(*tunerType, e.system)) {
        plan.skipped.push_back({e, std::string(channels::DeliverySystemName(e.system)) + ": a " +
                                       TunerTypeName(*tunerType) + " tuner does not receive it"});
        continue;
      }
      auto mapped = ChannelTuningFor(e, lnb);
      if (auto* error = std::get_if<channels::ChannelError>(&mapped)) {
        plan.errors.push_back(std::move(*error));
        continue;
      }
      const ChannelTuning& t = std::get<ChannelTuning>(mapped);
      const auto [it, fresh] = seen.emplace(TransponderKey(e, t), plan.items.size());
      if (fresh) {
        plan.items.push_back({e, t, 1});
      } else {
        ++plan.items[it->second].entries;
      }
    }
  }
  return plan;
}

size_t ReceivedEntries(const std::vector<channels::ChannelFile>& files, uint32_t tunerType) {
  size_t n = 0;
  for (const channels::ChannelFile& file : files) {
    for (const channels::ChannelEntry& e : file.entries)
      n += TunerTypeReceives(tunerType, e.system);
  }
  return n;
}
