#include "res/control_names.h"

#include "res/resource_ids.h"

namespace res {

namespace {

// Written at build time from res/resource_ids.h (res/make_control_names.cmake).
constexpr ControlName kControlNames[] = {
#include "control_names.inc"
};

}  // namespace

std::span<const ControlName> ControlNames() { return kControlNames; }

std::optional<int> ControlIdByName(std::string_view name) {
  for (const ControlName& c : kControlNames) {
    if (c.name == name) return c.id;
  }
  return std::nullopt;
}

}  // namespace res
