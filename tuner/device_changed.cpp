// The device list: choosing a device stops what runs on the old one, starts
// the new one and sets the controls it offers.
#include <optional>

#include "app/quorvex_demo_dlg.h"
#include "platform/system.h"
#include "res/resource_ids.h"

void CQuorvexDemoDlg::OnDeviceChanged() {
  UpdateData(true);
  const int selected = m_cbDevice.GetCurSel();
  if (m_nTimer != 0) KillTimer(m_nTimer);
  m_signalHistory.EndSeries();
  // Reception and capture end with their lines before the device they belong
  // to is stopped; what runs is known from the filters, not from the boxes
  // as an exchange that stopped at a bad number left them.
  for (FilterUser* user : FilterUsers()) {
    if (!user->Running()) continue;
    user->Stop();
    CheckDlgButton(user->EnableBox(), 0);
    if (user->SettleMs() != 0) platform::Sleep(user->SettleMs());
  }

  std::optional<uint32_t> chosen;
  if (selected != -1) chosen = static_cast<uint32_t>(m_cbDevice.GetItemData(selected));
  if (!m_devices.Start(chosen, [this] { OnMisFilterChanged(); })) return;
  ClearDisabledDiseqcOptions();

  m_signalHistory.StartSeries(selected != -1 ? m_cbDevice.GetItemText(selected) : "default device");
  m_nTimer = SetTimer(kSignalTimerId, kSignalTimerPeriodMs);
}
