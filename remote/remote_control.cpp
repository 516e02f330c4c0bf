// Remote-control reception: the "Enable" box, the code type list and the
// callbacks the library calls once per received code.
#include "app/quorvex_demo_dlg.h"
#include "remote/rc_line.h"
#include "res/resource_ids.h"
#include "tuner/tuner_api.h"

namespace {

// The callbacks run on the library's thread. They never wait for the
// user-interface thread: that thread may be inside DelFilter at this moment,
// waiting for this very callback to return.
void Deliver(std::string line) {
  if (g_pDlg != nullptr) g_pDlg->PostLog(std::move(line));
}

}  // namespace

void QV_CALLBACK RcRawCallback(const void* data, uint32_t count) {
  Deliver(RcRawLine(static_cast<const uint8_t*>(data), count));
}

void QV_CALLBACK Rc5Callback(const void* code, uint32_t kind) { Deliver(Rc5Line(code, kind)); }

void QV_CALLBACK Rc6Callback(const void* code, uint32_t kind) { Deliver(Rc6Line(code, kind)); }

void CQuorvexDemoDlg::OnRcEnableClicked() {
  UpdateData(true);
  if (m_bRcEnable != 0) {
    if (const RcCodeType* type = FindRcCodeType(m_nRcType)) {
      // The library writes the number only on success; a failure keeps what
      // was there, so closing never deletes a number it did not hand out.
      const int32_t previous = m_nRcFilter;
      if (TunerApi.SetRemoteControl(type->typeCode, RcDeviceFilter(*type, m_nRcDev), type->callback,
                                    &m_nRcFilter) != 0) {
        AddLog(type->enabledText);
      } else {
        AddLog(type->failedText);
        m_bRcEnable = 0;
        m_nRcFilter = previous;
      }
    }
  } else if (TunerApi.DelFilter(m_nRcFilter) != 0) {
    AddLog("DelFilter() success !");
    AddLog("RC disabled.");
    m_nRcFilter = -1;
  } else {
    AddLog("DelFilter() failed !");
  }
  UpdateData(false);
}

void CQuorvexDemoDlg::OnRcTypeChanged() {
  UpdateData(true);
  EnableItem(IDC_LIST_RC_DEV, RcTypeTakesDevice(m_nRcType));
}
