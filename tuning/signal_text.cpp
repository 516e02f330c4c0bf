#include "tuning/signal_text.h"

#include <cstdio>

namespace {

template <class T>
std::string Format(const char* format, T value) {
  char text[96];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

std::string LevelText(std::optional<int32_t> percent) {
  return percent ? Format("Level: %d%%", *percent) : "Level: error";
}

std::string LevelText(std::optional<float> percent) {
  return percent ? Format("Level: %.2f%%", static_cast<double>(*percent)) : "Level: error";
}

std::string QualityText(std::optional<int32_t> percent) {
  return percent ? Format("Quality: %d%%", *percent) : "Quality: error";
}

std::string RfLevelText(std::optional<int32_t> dbm) {
  return dbm ? Format("RFLevel: %idBm", *dbm) : "RFLevel: error";
}

std::string SnrText(std::optional<float> db) {
  return db ? Format("SNR: %.2fdB", static_cast<double>(*db)) : "SNR: error";
}

std::string BerText(std::optional<float> ratio) {
  return ratio ? Format("BER: %.5f", static_cast<double>(*ratio)) : "BER: error";
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
