#include "app/quorvex_demo_dlg.h"
#include "platform/library.h"
#include "res/resource_ids.h"
#include "tuner/tuner_api.h"
#include "tuner/tuner_type.h"

CQuorvexDemoDlg* g_pEnumDlg = nullptr;

namespace {

// Both run on the user-interface thread, inside the enumeration call.
void QV_CALLBACK DeviceEnumCallback(uint32_t deviceId, const char* name) {
  if (g_pEnumDlg != nullptr) g_pEnumDlg->AddEnumeratedDevice(deviceId, platform::LibraryText(name));
}

void QV_CALLBACK DeviceEnumCallbackEx(uint32_t deviceId, const char* name, uint32_t tunerType) {
  DeviceEnumCallback(deviceId,
                     (std::string(name ? name : "") + " - " + TunerTypeName(tunerType)).c_str());
}

}  // namespace

void CQuorvexDemoDlg::AddEnumeratedDevice(uint32_t deviceId, const std::string& text) {
  const int index = m_cbDevice.AddString(text);
  m_cbDevice.SetItemData(index, deviceId);
  UpdateData(false);
}

bool CQuorvexDemoDlg::DiscoverDevices() {
  const char* failure = nullptr;
  if (TunerApi.CheckForDVBExEx != nullptr) {
    EnableItem(IDC_CB_DEVICE, true);
    AddLog("CheckForDVBExEx() used.");
    g_pEnumDlg = this;
    if (TunerApi.CheckForDVBExEx(DeviceEnumCallbackEx) != 0) {
      AddLog("CheckForDVBExEx() success !");
    } else {
      failure = "CheckForDVBExEx() failed !";
    }
  } else if (TunerApi.CheckForDVBEx != nullptr) {
    EnableItem(IDC_CB_DEVICE, true);
    AddLog("CheckForDVBEx() used.");
    g_pEnumDlg = this;
    if (TunerApi.CheckForDVBEx(DeviceEnumCallback) != 0) {
      AddLog("CheckForDVBEx() success !");
    } else {
      failure = "CheckForDVBEx() failed !";
    }
  } else if (TunerApi.CheckForDVB() != 0) {
    AddLog("CheckForDVB() success !");
  } else {
    failure = "CheckForDVB() failed !";
  }
  if (failure == nullptr) return true;
  MessageBox(failure, "Error", fw::BoxIcon::Stop);
  return false;
}
