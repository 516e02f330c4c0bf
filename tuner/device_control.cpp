#include "tuner/device_control.h"

#include <cstdio>
#include <utility>

#include "res/resource_ids.h"
#include "tuner/device_reports.h"
#include "tuner/device_steps.h"
#include "tuner/tuner_api.h"
#include "tuner/tuner_type.h"
#include "tuner/ui_port.h"

namespace {

// The library calls these during the enumeration call, normally on the
// calling thread; the reports wait there until the call returned.
void QV_CALLBACK DeviceEnumCallback(uint32_t deviceId, const char* name) {
  device_reports::Add(deviceId, platform::LibraryText(name));
}

void QV_CALLBACK DeviceEnumCallbackEx(uint32_t deviceId, const char* name, uint32_t tunerType) {
  device_reports::Add(deviceId, platform::LibraryText(name) + " - " + TunerTypeName(tunerType));
}

// The dialog's controls as the device steps see them.
class StepTarget final : public DeviceStepTarget {
 public:
  StepTarget(UiPort& ui, std::optional<uint32_t>& caps, std::function<void()> applyMis,
             std::function<void()> readMac)
      : ui_(ui), caps_(caps), applyMis_(std::move(applyMis)), readMac_(std::move(readMac)) {}
  // The last answer is kept for the handlers that follow the device's mask.
  uint32_t Caps() override {
    caps_ = TunerApi.GetCaps();
    return *caps_;
  }
  void EnableControl(int id, bool enable) override { ui_.Enable(id, enable); }
  void Log(const char* text) override { ui_.Log(text); }
  void SelectFirst(int id) override { ui_.Select(id, 0); }
  void ApplyMis() override { applyMis_(); }
  void ReadMac() override { readMac_(); }

 private:
  UiPort& ui_;
  std::optional<uint32_t>& caps_;
  std::function<void()> applyMis_;
  std::function<void()> readMac_;
};

}  // namespace

bool DeviceControl::Discover(const std::function<void(uint32_t, const std::string&)>& add) {
  // Whatever the library reported during the call goes to the list, also
  // when the call then failed.
  const auto enumerate = [&](auto call) {
    device_reports::Open();
    const bool ok = call() != 0;
    for (const DeviceReport& d : device_reports::Close()) add(d.id, d.text);
    return ok;
  };
  const char* failure = nullptr;
  if (TunerApi.CheckForDVBExEx != nullptr) {
    ui_.Enable(IDC_CB_DEVICE, true);
    ui_.Log("CheckForDVBExEx() used.");
    if (enumerate([] { return TunerApi.CheckForDVBExEx(DeviceEnumCallbackEx); })) {
      ui_.Log("CheckForDVBExEx() success !");
    } else {
      failure = "CheckForDVBExEx() failed !";
    }
  } else if (TunerApi.CheckForDVBEx != nullptr) {
    ui_.Enable(IDC_CB_DEVICE, true);
    ui_.Log("CheckForDVBEx() used.");
    if (enumerate([] { return TunerApi.CheckForDVBEx(DeviceEnumCallback); })) {
      ui_.Log("CheckForDVBEx() success !");
    } else {
      failure = "CheckForDVBEx() failed !";
    }
  } else if (TunerApi.CheckForDVB() != 0) {
    ui_.Log("CheckForDVB() success !");
  } else {
    failure = "CheckForDVB() failed !";
  }
  if (failure == nullptr) return true;
  ui_.Box(failure, "Error", fw::BoxIcon::Stop);
  return false;
}

bool DeviceControl::Start(std::optional<uint32_t> chosen, const std::function<void()>& applyMis) {
  uint32_t deviceId = 0xFFFFFFFFu;
  started_ = false;
  if (chosen) {
    deviceId = *chosen;
    ui_.Log(TunerApi.StopDVB() != 0 ? "StopDVB() success !" : "StopDVB() failed !");
  }
  if (TunerApi.StartDVBEx != nullptr) {
    if (TunerApi.StartDVBEx(deviceId) == 0) {
      ui_.Log("StartDVBEx() failed !");
      return false;
    }
    ui_.Log("StartDVBEx() success !");
  } else {
    if (TunerApi.StartDVB() == 0) {
      ui_.Log("StartDVB() failed !");
      return false;
    }
    ui_.Log("StartDVB() success !");
  }
  if (TunerApi.GetTunerType != nullptr) {
    uint32_t type = 0;
    if (TunerApi.GetTunerType(&type) != 0) {
      ui_.Log(std::string("Tuner type: ") + TunerTypeName(type));
    } else {
      ui_.Log("GetTunerType() failed !");
    }
  }
  started_ = true;
  StepTarget target(ui_, caps_, applyMis, [this] { ReportMac(); });
  RunDeviceSteps(DeviceControlSteps(ExportedFeatures::FromTunerApi()), target);
  return true;
}

void DeviceControl::ReportMac() {
  ui_.Log("GetMAC() used.");
  uint8_t mac[6] = {};
  if (TunerApi.GetMAC(mac) == 0) {
    ui_.Log("GetMAC() failed !");
    return;
  }
  char text[32];
  std::snprintf(text, sizeof text, "MAC=%02X:%02X:%02X:%02X:%02X:%02X", mac[0], mac[1], mac[2],
                mac[3], mac[4], mac[5]);
  ui_.Log(text);
}
