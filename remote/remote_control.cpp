// Remote-control reception: the "Enable" box and the code type list.
#include "app/quorvex_demo_dlg.h"
#include "remote/rc_line.h"
#include "res/resource_ids.h"

void CQuorvexDemoDlg::OnRcEnableClicked() {
  ToggleByClickedBox(m_rc.m_bRcEnable, m_rc, [this] { m_rc.Start(); });
}

void CQuorvexDemoDlg::OnRcTypeChanged() {
  UpdateData(true);
  EnableItem(IDC_LIST_RC_DEV, RcTypeTakesDevice(m_rc.m_nRcType));
}
