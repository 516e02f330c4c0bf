// Control ids by the names res/resource_ids.h gives them, so a script can say
// which control it means by name as well as by number.
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace res {

// One control id and its name.
struct ControlName {
  std::string_view name;
  int id;
};

// Every IDC_ name of res/resource_ids.h with its id, in the header's order.
std::span<const ControlName> ControlNames();

// The id of the control called `name` (exactly, case included), or nothing.
std::optional<int> ControlIdByName(std::string_view name);

}  // namespace res
