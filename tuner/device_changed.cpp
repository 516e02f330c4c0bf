#include <cstdio>
#include <functional>
#include <optional>

#include "app/quorvex_demo_dlg.h"
#include "platform/system.h"
#include "res/resource_ids.h"
#include "tuner/device_steps.h"
#include "tuner/tuner_api.h"
#include "tuner/tuner_type.h"

namespace {

// Pause after a capture is stopped, before the device is switched.
constexpr unsigned kCaptureSettleMs = 500;

// The dialog as the device steps see it.
class DialogStepTarget : public DeviceStepTarget {
 public:
  explicit DialogStepTarget(CQuorvexDemoDlg& dlg, std::function<void()> applyMis,
                            std::function<void()> readMac, std::optional<uint32_t>& caps)
      : dlg_(dlg), applyMis_(std::move(applyMis)), readMac_(std::move(readMac)), caps_(caps) {}
  // The last answer is kept for the handlers that follow the device's mask.
  uint32_t Caps() override {
    caps_ = TunerApi.GetCaps();
    return *caps_;
  }
  void EnableControl(int id, bool enable) override { dlg_.EnableItem(id, enable); }
  void Log(const char* text) override { dlg_.AddLog(text); }
  void SelectFirst(int id) override { dlg_.Window().SetCurSel(id, 0); }
  void ApplyMis() override { applyMis_(); }
  void ReadMac() override { readMac_(); }

 private:
  CQuorvexDemoDlg& dlg_;
  std::function<void()> applyMis_;
  std::function<void()> readMac_;
  std::optional<uint32_t>& caps_;
};

}  // namespace

void CQuorvexDemoDlg::ReportMac() {
  AddLog("GetMAC() used.");
  uint8_t mac[6] = {};
  if (TunerApi.GetMAC(mac) == 0) {
    AddLog("GetMAC() failed !");
    return;
  }
  char text[32];
  std::snprintf(text, sizeof text, "MAC=%02X:%02X:%02X:%02X:%02X:%02X", mac[0], mac[1], mac[2],
                mac[3], mac[4], mac[5]);
  AddLog(text);
}

void CQuorvexDemoDlg::OnDeviceChanged() {
  UpdateData(true);
  const int selected = m_cbDevice.GetCurSel();
  if (m_nTimer != 0) KillTimer(m_nTimer);
  m_signalHistory.EndSeries();
  // Reception ends with its log lines before the device it belongs to is
  // stopped; what runs is known from the registrations, not from the boxes
  // as an exchange that stopped at a bad number left them.
  if (m_rc.m_bReceiving) {
    StopRemoteControl();
    CheckDlgButton(IDC_CHK_RC_ENABLE, 0);
  }
  // A running capture is stopped the same way, and the library is given
  // time to settle before the device changes under it.
  if (m_capture.m_bCapturing) {
    StopCapture();
    CheckDlgButton(IDC_CHK_FILTER_ENABLE, 0);
    platform::Sleep(kCaptureSettleMs);
  }

  uint32_t deviceId = 0xFFFFFFFFu;
  if (selected != -1) {
    deviceId = static_cast<uint32_t>(m_cbDevice.GetItemData(selected));
    AddLog(TunerApi.StopDVB() != 0 ? "StopDVB() success !" : "StopDVB() failed !");
  }

  if (TunerApi.StartDVBEx != nullptr) {
    if (TunerApi.StartDVBEx(deviceId) == 0) {
      AddLog("StartDVBEx() failed !");
      return;
    }
    AddLog("StartDVBEx() success !");
  } else {
    if (TunerApi.StartDVB() == 0) {
      AddLog("StartDVB() failed !");
      return;
    }
    AddLog("StartDVB() success !");
  }

  if (TunerApi.GetTunerType != nullptr) {
    uint32_t type = 0;
    if (TunerApi.GetTunerType(&type) != 0) {
      AddLog(std::string("Tuner type: ") + TunerTypeName(type));
    } else {
      AddLog("GetTunerType() failed !");
    }
  }

  DialogStepTarget target(
      *this, [this] { OnMisFilterChanged(); }, [this] { ReportMac(); }, m_deviceCaps);
  RunDeviceSteps(DeviceControlSteps(ExportedFeatures::FromTunerApi()), target);
  ClearDisabledDiseqcOptions();

  m_signalHistory.StartSeries(selected != -1 ? m_cbDevice.GetItemText(selected) : "default device");
  m_nTimer = SetTimer(kSignalTimerId, kSignalTimerPeriodMs);
}
