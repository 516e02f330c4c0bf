// The device a sweep runs on, as the dialog knows it.
#include "app/quorvex_demo_dlg.h"
#include "tuner/tuner_api.h"

std::optional<SweepDevice> CQuorvexDemoDlg::SweepDeviceNow() {
  if (!m_devices.Started()) return std::nullopt;
  // A field that fails validation has had its message; the members keep what
  // they held, as for "Tune".
  UpdateData(true);
  SweepDevice d;
  d.caps = m_devices.Caps();
  if (TunerApi.GetTunerType != nullptr) {
    uint32_t type = 0;
    if (TunerApi.GetTunerType(&type) != 0) d.tunerType = type;
  }
  d.lnb.low = m_nLofLow, d.lnb.high = m_nLofHigh, d.lnb.lofSwitch = m_nLofSwitch;
  return d;
}
