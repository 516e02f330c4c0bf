#include <optional>

#include "app/quorvex_demo_dlg.h"
#include "framework/message.h"
#include "res/resource_ids.h"
#include "tuner/tuner_api.h"
#include "tuning/signal_text.h"

namespace {

// Level and quality, through the richest entry point the library has. False
// when it has none, and the group is left alone.
bool PollLevelAndQuality(CQuorvexDemoDlg& dlg) {
  std::string level, quality;
  if (TunerApi.Statistic != nullptr) {
    QvStatistic s{0, 0, 0, 0};
    if (TunerApi.Statistic(&s) != 0) {
      // The flags go to the boxes as they came; a failed call leaves them.
      dlg.CheckDlgButton(IDC_CHK_PRESENT, s.present);
      dlg.CheckDlgButton(IDC_CHK_LOCK, s.lock);
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
  } else if (TunerApi.GetSignalStrength != nullptr) {
    float l = 0.0f;
    int32_t q = 0;
    const bool ok = TunerApi.GetSignalStrength(&l, &q) != 0;
    level = LevelText(ok ? std::optional<float>(l) : std::nullopt);
    quality = QualityText(ok ? std::optional<int32_t>(q) : std::nullopt);
  } else {
    return false;
  }
  dlg.SetDlgItemText(IDC_STATIC_LEVEL, level);
  dlg.SetDlgItemText(IDC_STATIC_QUALITY, quality);
  return true;
}

// RF level, SNR and BER, when the device's controls for them are enabled.
void PollExtended(CQuorvexDemoDlg& dlg) {
  if (TunerApi.GetSignalExEx != nullptr && dlg.IsItemEnabled(IDC_STATIC_RFLEVEL)) {
    // Every output is preset: a library that reports success without writing
    // the lock flag or the RF level reads as no lock at 0 dBm.
    uint32_t unused = 0;
    ExtendedReading r;
    std::optional<ExtendedReading> reading;
    if (TunerApi.GetSignalExEx(&unused, &r.lock, &r.rfLevel, &r.snr, &r.ber) != 0) reading = r;
    const ExtendedTexts texts = ExtendedSignalTexts(reading);
    dlg.SetDlgItemText(IDC_STATIC_RFLEVEL, texts.rfLevel);
    dlg.SetDlgItemText(IDC_STATIC_SNR, texts.snr);
    dlg.SetDlgItemText(IDC_STATIC_BER, texts.ber);
  } else if (TunerApi.GetSignalEx != nullptr && dlg.IsItemEnabled(IDC_STATIC_BER)) {
    float snr = 0.0f, ber = 0.0f;
    const bool ok = TunerApi.GetSignalEx(&snr, &ber) != 0;
    dlg.SetDlgItemText(IDC_STATIC_SNR, SnrText(ok ? std::optional<float>(snr) : std::nullopt));
    dlg.SetDlgItemText(IDC_STATIC_BER, BerText(ok ? std::optional<float>(ber) : std::nullopt));
  }
}

}  // namespace

void CQuorvexDemoDlg::OnTimer(uintptr_t id) {
  if (id == kSignalTimerId) {
    // The two groups are independent: neither gates the other.
    PollLevelAndQuality(*this);
    PollExtended(*this);
  }
  fw::Message m;
  m.kind = fw::MessageKind::Timer;
  m.timerId = id;
  DefaultHandling(m);
}
