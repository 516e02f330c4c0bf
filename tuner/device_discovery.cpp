// Device discovery: the list of devices the library reports.
#include "app/quorvex_demo_dlg.h"

void CQuorvexDemoDlg::AddEnumeratedDevice(uint32_t deviceId, const std::string& text) {
  const int index = m_cbDevice.AddString(text);
  m_cbDevice.SetItemData(index, deviceId);
  UpdateData(false);
}

bool CQuorvexDemoDlg::DiscoverDevices() {
  return m_devices.Discover(
      [this](uint32_t id, const std::string& text) { AddEnumeratedDevice(id, text); });
}
