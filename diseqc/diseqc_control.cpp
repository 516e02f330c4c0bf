#include <cstdint>

#include "app/quorvex_demo_dlg.h"
#include "diseqc/diseqc_message.h"
#include "res/resource_ids.h"
#include "tuner/tuner_api.h"

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
  struct Option {
    int box;
    int32_t CQuorvexDemoDlg::*member;
    int dependents[2];  // enabled only while the box is ticked; 0 for none
  };
  const Option options[] = {
      {IDC_CHK_SIMPLE, &CQuorvexDemoDlg::m_bSimple, {IDC_RADIO_BURST_A, IDC_RADIO_BURST_B}},
      {IDC_CHK_DISEQC10, &CQuorvexDemoDlg::m_bDiseqc10, {IDC_LIST_DISEQC10, 0}},
      {IDC_CHK_DISEQC11, &CQuorvexDemoDlg::m_bDiseqc11, {IDC_LIST_DISEQC11, 0}},
      {IDC_CHK_DISEQC12, &CQuorvexDemoDlg::m_bDiseqc12, {IDC_LIST_DISEQC12, 0}},
      {IDC_CHK_RECEIVE_REPLY, &CQuorvexDemoDlg::m_bReceiveReply, {0, 0}},
  };
  // A tick the user cannot take back on a disabled box would still act on
  // the next Send, with a command the device does not offer.
  for (const Option& o : options) {
    if (IsItemEnabled(o.box) || (this->*o.member == 0 && IsDlgButtonChecked(o.box) == 0)) continue;
    this->*o.member = 0;
    CheckDlgButton(o.box, 0);
    for (int id : o.dependents) {
      if (id != 0) EnableItem(id, false);
    }
  }
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

  DiseqcEntries e;
  e.sendDiSEqC = TunerApi.SendDiSEqC != nullptr;
  e.sendDiseqCmd = TunerApi.SendDiseqCmd != nullptr;
  e.sendDiseqCmdEx = TunerApi.SendDiseqCmdEx != nullptr;
  // A device that takes DiSEqC 1.x messages but not the 1.0 command through
  // SendDiSEqC gets the committed switch command as a message.
  e.committedAsMessage = m_deviceCaps && (*m_deviceCaps & QV_CAP_DISEQC10) == 0 &&
                         (*m_deviceCaps & QV_CAP_DISEQC1X) != 0;

  // Zeroed so that a library reporting more bytes than it wrote shows zeros,
  // never stale memory.
  uint8_t reply[kDiseqcReplyBufferSize] = {};
  for (const DiseqcStep& step : PlanDiseqcSend(s, e)) {
    if (!step.before.empty()) AddLog(step.before);
    DiseqcMessage message = step.message;
    switch (step.call) {
      case DiseqcCall::SendDiSEqC:
        AddLog(DiseqcOutcomeLine(step, TunerApi.SendDiSEqC(step.mode, step.data) != 0));
        break;
      case DiseqcCall::SendDiseqCmd:
        AddLog(DiseqcOutcomeLine(step, TunerApi.SendDiseqCmd(message.data(), 4) != 0));
        break;
      case DiseqcCall::SendDiseqCmdEx: {
        // Reset for every exchange: a library that stores no count when
        // nothing answers must not make this item show an earlier reply.
        uint32_t count = 0;
        const bool ok = TunerApi.SendDiseqCmdEx(message.data(), 4, reply, &count) != 0;
        AddLog(DiseqcOutcomeLine(step, ok));
        if (ok) AddLog(DiseqcReplyLine(reply, count));
        break;
      }
    }
  }
}
