#include "tuning/signal_text.h"

#include "tuning/signal_number.h"

// The figures are shown as the library reported them, however absurd: a
// card maker's engineer needs to see the INT_MIN or the NaN the library wrote.

std::string LevelText(std::optional<int32_t> percent) {
  return percent ? "Level: " + std::to_string(*percent) + "%" : "Level: error";
}

std::string LevelText(std::optional<float> percent) {
  return percent ? "Level: " + FixedText(*percent, 2) + "%" : "Level: error";
}

std::string QualityText(std::optional<int32_t> percent) {
  return percent ? "Quality: " + std::to_string(*percent) + "%" : "Quality: error";
}

std::string RfLevelText(std::optional<int32_t> dbm) {
  return dbm ? "RFLevel: " + std::to_string(*dbm) + "dBm" : "RFLevel: error";
}

std::string SnrText(std::optional<float> db) {
  return db ? "SNR: " + FixedText(*db, 2) + "dB" : "SNR: error";
}

std::string BerText(std::optional<float> ratio) {
  return ratio ? "BER: " + FixedText(*ratio, 5) : "BER: error";
}

ExtendedReading ShownReading(ExtendedReading reading) {
  if (reading.lock == 0) {
    reading.snr = -10.0f;
    reading.ber = 1.0f;
  }
  return reading;
}

ExtendedTexts ExtendedSignalTexts(const std::optional<ExtendedReading>& reading) {
  if (!reading) return {RfLevelText(std::nullopt), SnrText(std::nullopt), BerText(std::nullopt)};
  const ExtendedReading shown = ShownReading(*reading);
  return {RfLevelText(shown.rfLevel), SnrText(shown.snr), BerText(shown.ber)};
}
