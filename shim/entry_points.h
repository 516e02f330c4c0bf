// The 42 entry points as an enumeration, in the contract's lookup order.
#pragma once

#include <cstddef>
#include <string_view>

#include "quorvex_api.h"

namespace qvabi {

enum class Ep : int {
#define QVABI_ENUM(name, type, critical) name,
  QV_ENTRY_POINTS(QVABI_ENUM)
#undef QVABI_ENUM
};

inline constexpr std::string_view kEntryNames[] = {
#define QVABI_NAME(name, type, critical) #name,
    QV_ENTRY_POINTS(QVABI_NAME)
#undef QVABI_NAME
};

inline constexpr size_t kEntryCount = sizeof kEntryNames / sizeof kEntryNames[0];
static_assert(kEntryCount == 42);

inline constexpr std::string_view entryName(Ep e) { return kEntryNames[static_cast<int>(e)]; }

// -1 when the name is not an entry point.
inline int entryIdByName(std::string_view name) {
  for (size_t i = 0; i < kEntryCount; ++i) {
    if (kEntryNames[i] == name) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace qvabi
