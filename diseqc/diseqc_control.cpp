#include "app/quorvex_demo_dlg.h"
#include "diseqc/diseqc_bus.h"
#include "res/resource_ids.h"

void CQuorvexDemoDlg::OnSimpleClicked() {
  UpdateData(true);
  EnableItem(IDC_RADIO_BURST_A, m_bSimple != 0);
  EnableItem(IDC_RADIO_BURST_B, m_bSimple != 0);
}

void CQuorvexDemoDlg::OnDiseqc10Clicked() {
  UpdateData(true);
  EnableItem(IDC_LIST_DISEQC10, m_bDiseqc10 != 0);
}

void CQuorvexDemoDlg::OnDiseqc11Clicked() {
  UpdateData(true);
  EnableItem(IDC_LIST_DISEQC11, m_bDiseqc11 != 0);
}

void CQuorvexDemoDlg::OnDiseqc12Clicked() {
  UpdateData(true);
  EnableItem(IDC_LIST_DISEQC12, m_bDiseqc12 != 0);
}

void CQuorvexDemoDlg::OnReceiveReplyClicked() { UpdateData(true); }

void CQuorvexDemoDlg::ClearDisabledDiseqcOptions() {
  ::ClearDisabledDiseqcOptions(
      m_ui, {{IDC_CHK_SIMPLE, &m_bSimple, {IDC_RADIO_BURST_A, IDC_RADIO_BURST_B}},
             {IDC_CHK_DISEQC10, &m_bDiseqc10, {IDC_LIST_DISEQC10, 0}},
             {IDC_CHK_DISEQC11, &m_bDiseqc11, {IDC_LIST_DISEQC11, 0}},
             {IDC_CHK_DISEQC12, &m_bDiseqc12, {IDC_LIST_DISEQC12, 0}},
             {IDC_CHK_RECEIVE_REPLY, &m_bReceiveReply, {0, 0}}});
}

void CQuorvexDemoDlg::OnDiseqcSend() {
  // A field that fails validation has had its message; the press goes on with
  // the members as they stand.
  UpdateData(true);
  DiseqcSettings s;
  s.simple = m_bSimple != 0, s.diseqc10 = m_bDiseqc10 != 0, s.diseqc11 = m_bDiseqc11 != 0;
  s.diseqc12 = m_bDiseqc12 != 0, s.receiveReply = m_bReceiveReply != 0;
  s.burst = m_nBurst;
  s.committedIndex = m_cbDiseqc10.GetCurSel();
  s.uncommittedIndex = m_cbDiseqc11.GetCurSel();
  s.positionerIndex = m_cbDiseqc12.GetCurSel();
  s.pol = m_nPol, s.freqMHz = m_nFreq, s.lofSwitchMHz = m_nLofSwitch;
  SendDiseqc(m_ui, s, m_devices.Caps());
}
