// Remote-control reception: the "Enable" box, the code type list and the
// callbacks the library calls once per received code.
#include <mutex>
#include <string>

#include "app/quorvex_demo_dlg.h"
#include "remote/rc_line.h"
#include "res/resource_ids.h"
#include "tuner/tuner_api.h"

namespace {

// Lines the callbacks formatted and the user-interface thread has not logged
// yet, each ending in '\n': one buffer, so a flood of codes costs a few bytes
// a line while it waits. At most one post is pending for all of them.
std::mutex g_rcMutex;
std::string g_rcQueue;
bool g_rcPostPending = false;
// The user-interface thread's batch; swapped with the queue, so the two
// buffers keep their capacity and a flood does not reallocate at every turn.
std::string g_rcBatch;

// The callbacks run on the library's thread. They hold the lock only to
// append and never wait for the user-interface thread: that thread may be
// inside DelFilter at this moment, waiting for this very callback to return.
void Deliver(const std::string& line) {
  bool post = false;
  {
    std::lock_guard lock(g_rcMutex);
    g_rcQueue.append(line);
    g_rcQueue.push_back('\n');
    post = !g_rcPostPending;
    g_rcPostPending = true;
  }
  if (post) {
    fw::Dialog::PostToUi([] {
      if (g_pDlg != nullptr && g_pDlg->HasWindow()) g_pDlg->ServeRemoteLines();
    });
  }
}

}  // namespace

void QV_CALLBACK RcRawCallback(const void* data, uint32_t count) {
  Deliver(RcRawLine(static_cast<const uint8_t*>(data), count));
}

void QV_CALLBACK Rc5Callback(const void* code, uint32_t kind) { Deliver(Rc5Line(code, kind)); }

void QV_CALLBACK Rc6Callback(const void* code, uint32_t kind) { Deliver(Rc6Line(code, kind)); }

void CQuorvexDemoDlg::ServeRemoteLines() {
  g_rcBatch.clear();
  {
    std::lock_guard lock(g_rcMutex);
    g_rcBatch.swap(g_rcQueue);
    g_rcPostPending = false;
  }
  AddLogLines(g_rcBatch);
}

bool CQuorvexDemoDlg::DeleteRemoteFilter() {
  const bool deleted = TunerApi.DelFilter(m_nRcFilter) != 0;
  // Every code delivered before DelFilter returned is logged before its outcome.
  ServeRemoteLines();
  if (!deleted) {
    AddLog("DelFilter() failed !");
    return false;
  }
  AddLog("DelFilter() success !");
  AddLog("RC disabled.");
  m_nRcFilter = -1;
  return true;
}

void CQuorvexDemoDlg::StartRemoteControl() {
  const RcCodeType* type = FindRcCodeType(m_nRcType);
  if (type == nullptr) return;
  // A registration whose deletion failed may still deliver: it goes first,
  // and while it stays, no second one doubles every code.
  if (m_nRcFilter != -1 && !DeleteRemoteFilter()) {
    m_bRcEnable = 0;
    return;
  }
  // The library writes the number only on success; a failure keeps what
  // was there, so closing never deletes a number it did not hand out.
  const int32_t previous = m_nRcFilter;
  if (TunerApi.SetRemoteControl(type->typeCode, RcDeviceFilter(*type, m_nRcDev), type->callback,
                                &m_nRcFilter) != 0) {
    AddLog(type->enabledText);
    m_bReceiving = true;
  } else {
    AddLog(type->failedText);
    m_bRcEnable = 0;
    m_nRcFilter = previous;
  }
}

void CQuorvexDemoDlg::StopRemoteControl() {
  m_bReceiving = false;
  m_bRcEnable = 0;
  DeleteRemoteFilter();
}

void CQuorvexDemoDlg::OnRcEnableClicked() {
  ToggleByClickedBox(IDC_CHK_RC_ENABLE, m_bRcEnable, m_bReceiving,
                     &CQuorvexDemoDlg::StartRemoteControl, &CQuorvexDemoDlg::StopRemoteControl);
}

void CQuorvexDemoDlg::OnRcTypeChanged() {
  UpdateData(true);
  EnableItem(IDC_LIST_RC_DEV, RcTypeTakesDevice(m_nRcType));
}
