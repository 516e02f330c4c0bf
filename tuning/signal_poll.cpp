#include "tuning/signal_poll.h"

#include <optional>
#include <string>

#include "res/resource_ids.h"
#include "tuner/tuner_api.h"
#include "tuner/ui_port.h"
#include "tuning/signal_text.h"

namespace {

// Level and quality, through the richest entry point the library has, into
// the group when `show` and into the sample. False when it has none, and the
// group is left alone.
bool PollLevelAndQuality(UiPort& ui, SignalSample& sample, bool show) {
  std::string level, quality;
  if (TunerApi.Statistic != nullptr) {
    QvStatistic s{0, 0, 0, 0};
    if (TunerApi.Statistic(&s) != 0) {
      // The flags go to the boxes as they came; a failed call leaves them.
      if (show) ui.Check(IDC_CHK_PRESENT, s.present);
      if (show) ui.Check(IDC_CHK_LOCK, s.lock);
      sample.present = s.present != 0;
      sample.lock = s.lock != 0;
      sample.levelPct = s.level;
      sample.qualityPct = s.quality;
      level = LevelText(std::optional<int32_t>(s.level));
      quality = QualityText(s.quality);
    } else {
      level = LevelText(std::optional<int32_t>());
      quality = QualityText(std::nullopt);
    }
  } else if (TunerApi.GetSignal != nullptr) {
    int32_t l = 0, q = 0;
    const bool ok = TunerApi.GetSignal(&l, &q) != 0;
    level = LevelText(ok ? std::optional<int32_t>(l) : std::nullopt);
    quality = QualityText(ok ? std::optional<int32_t>(q) : std::nullopt);
    if (ok) {
      sample.levelPct = l;
      sample.qualityPct = q;
    }
  } else if (TunerApi.GetSignalStrength != nullptr) {
    float l = 0.0f;
    int32_t q = 0;
    const bool ok = TunerApi.GetSignalStrength(&l, &q) != 0;
    level = LevelText(ok ? std::optional<float>(l) : std::nullopt);
    quality = QualityText(ok ? std::optional<int32_t>(q) : std::nullopt);
    if (ok) {
      sample.levelPct = l;
      sample.qualityPct = q;
    }
  } else {
    return false;
  }
  if (!show) return true;
  ui.SetText(IDC_STATIC_LEVEL, level);
  ui.SetText(IDC_STATIC_QUALITY, quality);
  return true;
}

// RF level, SNR and BER, when the device's controls for them are enabled; the
// sample takes the figures as the group shows them.
void PollExtended(UiPort& ui, SignalSample& sample, bool show) {
  if (TunerApi.GetSignalExEx != nullptr && ui.IsEnabled(IDC_STATIC_RFLEVEL)) {
    // Every output is preset: a library that reports success without writing
    // the lock flag or the RF level reads as no lock at 0 dBm.
    uint32_t unused = 0;
    ExtendedReading r;
    std::optional<ExtendedReading> reading;
    if (TunerApi.GetSignalExEx(&unused, &r.lock, &r.rfLevel, &r.snr, &r.ber) != 0) reading = r;
    if (reading) {
      const ExtendedReading shown = ShownReading(r);
      if (!sample.lock) sample.lock = shown.lock != 0;
      sample.rfDbm = shown.rfLevel;
      sample.snrDb = shown.snr;
      sample.ber = shown.ber;
    }
    if (!show) return;
    const ExtendedTexts texts = ExtendedSignalTexts(reading);
    ui.SetText(IDC_STATIC_RFLEVEL, texts.rfLevel);
    ui.SetText(IDC_STATIC_SNR, texts.snr);
    ui.SetText(IDC_STATIC_BER, texts.ber);
  } else if (TunerApi.GetSignalEx != nullptr && ui.IsEnabled(IDC_STATIC_BER)) {
    float snr = 0.0f, ber = 0.0f;
    const bool ok = TunerApi.GetSignalEx(&snr, &ber) != 0;
    if (ok) {
      sample.snrDb = snr;
      sample.ber = ber;
    }
    if (!show) return;
    ui.SetText(IDC_STATIC_SNR, SnrText(ok ? std::optional<float>(snr) : std::nullopt));
    ui.SetText(IDC_STATIC_BER, BerText(ok ? std::optional<float>(ber) : std::nullopt));
  }
}

}  // namespace

void PollSignal(UiPort& ui, SignalSample& sample, bool show) {
  PollLevelAndQuality(ui, sample, show);
  PollExtended(ui, sample, show);
}
