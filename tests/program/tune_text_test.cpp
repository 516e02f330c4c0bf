// Tuning texts no scenario can tell apart: the refusal of entries that do not
// fit the library's kHz arguments, and the no-lock display.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tuning/signal_text.h"
#include "tuning/tune_request.h"

namespace {

// Guards an off-by-one at the 4294967 bound and the wrong field named.
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

// Guards the library's own SNR or BER shown without lock; the virtual card
// already reports BER 1 then, so only a reading that does not can tell.
TEST(SignalText, NoLockShowsMinusTenDecibelsAndBerOne) {
  const ExtendedTexts t = ExtendedSignalTexts(ExtendedReading{0, -52, 8.5f, 0.0f});
  EXPECT_EQ(t.rfLevel, "RFLevel: -52dBm");
  EXPECT_EQ(t.snr, "SNR: -10.00dB");
  EXPECT_EQ(t.ber, "BER: 1.00000");
}

}  // namespace
