// Remote-control reception: the "Enable" box and the code type list; the
// dialog's reception queues the lines of the codes the library delivers.
#include <string>

#include "app/quorvex_demo_dlg.h"
#include "remote/rc_line.h"
#include "res/resource_ids.h"
#include "tuner/tuner_api.h"

void CQuorvexDemoDlg::ServeRemoteLines() { AddLogLines(m_rc.TakeLines()); }

bool CQuorvexDemoDlg::DeleteRemoteFilter() {
  const bool deleted = TunerApi.DelFilter(m_rc.m_nRcFilter) != 0;
  // Every code delivered before DelFilter returned is logged before its outcome.
  ServeRemoteLines();
  if (!deleted) {
    AddLog("DelFilter() failed !");
    return false;
  }
  AddLog("DelFilter() success !");
  AddLog("RC disabled.");
  m_rc.m_nRcFilter = -1;
  return true;
}

void CQuorvexDemoDlg::StartRemoteControl() {
  const RcCodeType* type = FindRcCodeType(m_rc.m_nRcType);
  if (type == nullptr) return;
  // A registration whose deletion failed may still deliver: it goes first,
  // and while it stays, no second one doubles every code.
  if (m_rc.m_nRcFilter != -1 && !DeleteRemoteFilter()) {
    m_rc.m_bRcEnable = 0;
    return;
  }
  // The library writes the number only on success; a failure keeps what
  // was there, so closing never deletes a number it did not hand out.
  const int32_t previous = m_rc.m_nRcFilter;
  if (TunerApi.SetRemoteControl(type->typeCode, RcDeviceFilter(*type, m_rc.m_nRcDev),
                                type->callback, &m_rc.m_nRcFilter) != 0) {
    AddLog(type->enabledText);
    m_rc.m_bReceiving = true;
  } else {
    AddLog(type->failedText);
    m_rc.m_bRcEnable = 0;
    m_rc.m_nRcFilter = previous;
  }
}

void CQuorvexDemoDlg::StopRemoteControl() {
  m_rc.m_bReceiving = false;
  m_rc.m_bRcEnable = 0;
  DeleteRemoteFilter();
}

void CQuorvexDemoDlg::OnRcEnableClicked() {
  ToggleByClickedBox(IDC_CHK_RC_ENABLE, m_rc.m_bRcEnable, m_rc.m_bReceiving,
                     &CQuorvexDemoDlg::StartRemoteControl, &CQuorvexDemoDlg::StopRemoteControl);
}

void CQuorvexDemoDlg::OnRcTypeChanged() {
  UpdateData(true);
  EnableItem(IDC_LIST_RC_DEV, RcTypeTakesDevice(m_rc.m_nRcType));
}
