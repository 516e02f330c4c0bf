// The texts of the "Signal statistics" group. Each takes the value read, or
// nothing when the library call failed. The texts are the same in every locale
// and on every platform; a float that is not a number shows as "nan", "inf" or
// "-inf" ("SNR: nandB").
#pragma once

#include <cstdint>
#include <optional>
#include <string>

std::string LevelText(std::optional<int32_t> percent);    // "Level: 71%"
std::string LevelText(std::optional<float> percent);      // "Level: 71.25%"
std::string QualityText(std::optional<int32_t> percent);  // "Quality: 80%"
std::string RfLevelText(std::optional<int32_t> dbm);      // "RFLevel: -45dBm"
std::string SnrText(std::optional<float> db);             // "SNR: 15.70dB"
std::string BerText(std::optional<float> ratio);          // "BER: 0.00030"

// One successful read of the extended statistics.
struct ExtendedReading {
  int32_t lock = 0;
  int32_t rfLevel = 0;
  float snr = 0.0f;
  float ber = 0.0f;
};

struct ExtendedTexts {
  std::string rfLevel, snr, ber;
};

// The reading as the group shows it: without lock the SNR is -10 dB and the
// BER 1, whatever the library returned for them; the RF level as returned.
ExtendedReading ShownReading(ExtendedReading reading);
// The texts of ShownReading(reading), or of no reading.
ExtendedTexts ExtendedSignalTexts(const std::optional<ExtendedReading>& reading);
