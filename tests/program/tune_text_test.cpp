// Pure functions behind "Tune" and the signal display: the lines logged, the
// arguments passed, the refusal of entries that do not fit, the display texts.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tuning/signal_text.h"
#include "tuning/tune_request.h"

namespace {

using Lines = std::vector<std::string>;

TuneFields Defaults() {
  TuneFields f;
  f.freq = 10722, f.symRate = 27500, f.lofLow = 9750, f.lofHigh = 10600, f.lofSwitch = 11700;
  return f;
}

TEST(TuneEntryChoice, RichestPresentWins) {
  EXPECT_EQ(ChooseTuneEntry(true, true), TuneEntry::SetChannelExEx);
  EXPECT_EQ(ChooseTuneEntry(true, false), TuneEntry::SetChannelExEx);
  EXPECT_EQ(ChooseTuneEntry(false, true), TuneEntry::SetChannelEx);
  EXPECT_EQ(ChooseTuneEntry(false, false), TuneEntry::SetChannel);
  EXPECT_EQ(TuneSuccessText(TuneEntry::SetChannelExEx), "SetChannelExEx success !");
  EXPECT_EQ(TuneSuccessText(TuneEntry::SetChannelEx), "SetChannelEx success !");
  EXPECT_EQ(TuneSuccessText(TuneEntry::SetChannel), "SetChannel success !");
  EXPECT_EQ(TuneFailureText(TuneEntry::SetChannelExEx), "SetChannelExEx failed !");
  EXPECT_EQ(TuneFailureText(TuneEntry::SetChannelEx), "SetChannelEx failed !");
  EXPECT_EQ(TuneFailureText(TuneEntry::SetChannel), "SetChannel failed !");
}

TEST(TuneParameterLines, OnlyTheChoicesTheEntryPointTakesAreLogged) {
  TuneFields f = Defaults();
  f.pol = 1, f.fec = 14, f.modulation = 20, f.inversion = 2, f.pilot = 1, f.rollOff = 3;
  const Lines common = {"Frequency=10722, Symrate=27500, Pol=1, FEC=14",
                        "LOF1=9750, LOF2=10600, LOFSW=11700"};
  Lines ex = common;
  ex.push_back("Modulation=20");
  Lines exex = ex;
  exex.insert(exex.end(), {"Inversion=2", "Pilot=1", "RollOff=3"});
  EXPECT_EQ(TuneParameterLines(f, TuneEntry::SetChannel), common);
  EXPECT_EQ(TuneParameterLines(f, TuneEntry::SetChannelEx), ex);
  EXPECT_EQ(TuneParameterLines(f, TuneEntry::SetChannelExEx), exex);
}

TEST(TuneParameterLines, LargeEntriesReadAsTyped) {
  TuneFields f = Defaults();
  f.freq = 4294967295u;
  f.lofSwitch = 3000000000u;
  const Lines lines = TuneParameterLines(f, TuneEntry::SetChannel);
  EXPECT_EQ(lines[0], "Frequency=4294967295, Symrate=27500, Pol=0, FEC=0");
  EXPECT_EQ(lines[1], "LOF1=9750, LOF2=10600, LOFSW=3000000000");
}

TEST(TuneArgs, ConvertsUnitsAndPassesIndexesAsTheyAre) {
  TuneFields f = Defaults();
  f.pol = 1, f.fec = 10, f.modulation = 20, f.inversion = 2, f.pilot = 2, f.rollOff = 3;
  const TuneArgs a = TuneArgsFor(f);
  EXPECT_EQ(a.freqKHz, 10722000u);
  EXPECT_EQ(a.symbolRate, 27500000u);
  EXPECT_EQ(a.lofLowKHz, 9750000u);
  EXPECT_EQ(a.lofHighKHz, 10600000u);
  EXPECT_EQ(a.lofSwitchKHz, 11700000u);
  EXPECT_EQ(a.pol, 1u);
  EXPECT_EQ(a.fec, 10u);
  EXPECT_EQ(a.modulation, 20u);
  EXPECT_EQ(a.inversion, 2u);
  EXPECT_EQ(a.pilot, 2u);
  EXPECT_EQ(a.rollOff, 3u);
  f.freq = 0;
  f.symRate = kMaxTuneEntry;
  EXPECT_EQ(TuneArgsFor(f).freqKHz, 0u);
  EXPECT_EQ(TuneArgsFor(f).symbolRate, 4294967000u);
}

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

TEST(SignalText, FormatsAndErrorTexts) {
  struct Case {
    std::string actual, expected;
  } cases[] = {
      {LevelText(std::optional<int32_t>(68)), "Level: 68%"},
      {LevelText(std::optional<int32_t>(-3)), "Level: -3%"},
      {LevelText(std::optional<int32_t>()), "Level: error"},
      {LevelText(std::optional<float>(42.5f)), "Level: 42.50%"},
      {LevelText(std::optional<float>(0.0f)), "Level: 0.00%"},
      {LevelText(std::optional<float>()), "Level: error"},
      {QualityText(77), "Quality: 77%"},
      {QualityText(std::nullopt), "Quality: error"},
      {RfLevelText(-45), "RFLevel: -45dBm"},
      {RfLevelText(0), "RFLevel: 0dBm"},
      {RfLevelText(std::nullopt), "RFLevel: error"},
      {SnrText(15.647f), "SNR: 15.65dB"},
      {SnrText(-10.0f), "SNR: -10.00dB"},
      {SnrText(std::nullopt), "SNR: error"},
      {BerText(0.000346855f), "BER: 0.00035"},
      {BerText(1.0f), "BER: 1.00000"},
      {BerText(std::nullopt), "BER: error"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected);
}

TEST(SignalText, NoLockShowsMinusTenDecibelsAndBerOneWithTheRfLevelAsReturned) {
  struct Case {
    std::optional<ExtendedReading> reading;
    std::string rf, snr, ber;
  } cases[] = {
      {ExtendedReading{1, -45, 15.65f, 0.00035f}, "RFLevel: -45dBm", "SNR: 15.65dB",
       "BER: 0.00035"},
      {ExtendedReading{0, -52, 8.5f, 0.0f}, "RFLevel: -52dBm", "SNR: -10.00dB", "BER: 1.00000"},
      {ExtendedReading{0, 0, 0.0f, 0.0f}, "RFLevel: 0dBm", "SNR: -10.00dB", "BER: 1.00000"},
      // Any nonzero flag is a lock.
      {ExtendedReading{2, -60, 3.25f, 0.5f}, "RFLevel: -60dBm", "SNR: 3.25dB", "BER: 0.50000"},
      {std::nullopt, "RFLevel: error", "SNR: error", "BER: error"},
  };
  for (const Case& c : cases) {
    const ExtendedTexts t = ExtendedSignalTexts(c.reading);
    EXPECT_EQ(t.rfLevel, c.rf);
    EXPECT_EQ(t.snr, c.snr);
    EXPECT_EQ(t.ber, c.ber);
  }
}

}  // namespace
