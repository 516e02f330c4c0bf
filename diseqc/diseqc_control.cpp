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
