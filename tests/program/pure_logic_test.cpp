// Small pure functions: tuner type names and the multistream arguments.
#include <gtest/gtest.h>

#include "tuner/tuner_type.h"
#include "tuning/mis_selection.h"

namespace {

TEST(TunerTypeName, NamesCodesOneToTwelveAndNothingElse) {
  const char* expected[] = {"Unknown", "DVB-S", "DVB-S2", "DSS",  "DVB-Turbo", "DCII",   "DVB-T",
                            "DVB-T2",  "DVB-C", "DVB-C2", "ATSC", "ISDB-T",    "ISDB-S", "Unknown"};
  for (uint32_t code = 0; code <= 13; ++code) EXPECT_STREQ(TunerTypeName(code), expected[code]);
  EXPECT_STREQ(TunerTypeName(0xFFFFFFFFu), "Unknown");
  EXPECT_STREQ(TunerTypeName(0x80000001u), "Unknown");  // negative as signed
}

TEST(MisSelection, MapsListIndexToArgumentsAndLoggedNumber) {
  struct Case {
    int index;
    uint32_t enable, stream;
    int32_t shown;
  } cases[] = {
      {0, 0, 255, -1},  // "OFF"
      {1, 1, 0, 0},     // "0"
      {2, 2, 1, 1},     // "1"
      {255, 255, 254, 254},
      {256, 256, 255, 255},  // "255": same stream as OFF, differs in the first argument
  };
  for (const Case& c : cases) {
    const MisSelection s = MisSelectionFor(c.index);
    EXPECT_EQ(s.enable, c.enable) << c.index;
    EXPECT_EQ(s.streamId, c.stream) << c.index;
    EXPECT_EQ(s.mask, 255u) << c.index;
    EXPECT_EQ(s.shown, c.shown) << c.index;
  }
}

}  // namespace
