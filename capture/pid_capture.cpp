// PID capture: the "Enable" box of the "Filter" group starts and stops the
// recording of one PID's packets to a file.
#include "app/quorvex_demo_dlg.h"

void CQuorvexDemoDlg::OnFilterEnableClicked() {
  ToggleByClickedBox(m_capture.m_bFilterEnable, m_capture, [this] { m_capture.Start(); });
}
