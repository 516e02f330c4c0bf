// The refusal of tuning entries that do not fit the library's kHz/symbol
// arguments: guards an off-by-one at the 4294967 bound and the wrong field
// named (scenarios cover one field only).
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tuning/tune_request.h"

namespace {

TEST(TuneRangeError, NamesTheFirstFieldThatDoesNotFit) {
  struct Case {
    uint32_t freq, symRate, lofLow, lofHigh, lofSwitch;
    std::optional<std::string> error;
  } cases[] = {
      {10722, 27500, 9750, 10600, 11700, std::nullopt},
      {0, 0, 0, 0, 0, std::nullopt},
      {4294967, 4294967, 4294967, 4294967, 4294967, std::nullopt},
      {4294968, 27500, 9750, 10600, 11700, "Frequency=4294968 is too large (max 4294967) !"},
      {10722, 4294968, 9750, 10600, 11700, "Symrate=4294968 is too large (max 4294967) !"},
      {10722, 27500, 4294968, 10600, 11700, "LOF1=4294968 is too large (max 4294967) !"},
      {10722, 27500, 9750, 4294968, 11700, "LOF2=4294968 is too large (max 4294967) !"},
      {10722, 27500, 9750, 10600, 4294968, "LOFSW=4294968 is too large (max 4294967) !"},
      {10722, 27500, 9750, 10600, 4294967295u, "LOFSW=4294967295 is too large (max 4294967) !"},
      // Log order decides which field is named: frequency before LOF2.
      {5000000, 27500, 9750, 4294968, 11700, "Frequency=5000000 is too large (max 4294967) !"},
  };
  for (const Case& c : cases) {
    TuneFields f;
    f.freq = c.freq, f.symRate = c.symRate, f.lofLow = c.lofLow, f.lofHigh = c.lofHigh,
    f.lofSwitch = c.lofSwitch;
    EXPECT_EQ(TuneRangeError(f), c.error) << c.freq << " " << c.symRate << " " << c.lofHigh;
  }
}

}  // namespace
