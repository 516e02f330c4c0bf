// PID capture: the "Enable" box of the "Filter" group starts and stops the
// recording of one PID's packets to a file; the dialog's capture session
// takes every buffer the library hands to TsDataCallback.
#include <optional>
#include <string>

#include "app/quorvex_demo_dlg.h"
#include "capture/capture_status.h"
#include "res/resource_ids.h"
#include "tuner/tuner_api.h"

bool CQuorvexDemoDlg::DeleteOrphanCaptureFilter() {
  if (TunerApi.DelFilter(m_capture.m_nTsFilter) == 0) {
    AddLog("DelFilter() failed !");
    return false;
  }
  AddLog("DelFilter() success.");
  m_capture.m_nTsFilter = -1;
  return true;
}

void CQuorvexDemoDlg::StartCapture() {
  m_capture.Restart();
  if (!CapturePidAccepted(m_capture.m_nPid)) {
    AddLog("PID must be 0-8192 !");
    m_capture.m_bFilterEnable = 0;
    return;
  }
  // A filter whose deletion failed may still deliver, and the callback cannot
  // tell its buffers from the new filter's: no new file until it is gone.
  if (m_capture.m_nTsFilter != -1 && !DeleteOrphanCaptureFilter()) {
    m_capture.m_bFilterEnable = 0;
    return;
  }
  // Built whole, not assigned field by field: GCC 12 at -O3 otherwise warns
  // that the short extension string may be read uninitialised.
  const fw::FileDialogRequest request{.save = true,
                                      .defaultName = kStreamDefaultName,
                                      .defaultExt = kStreamDefaultExt,
                                      .filter = kStreamFilter};
  const std::optional<std::string> path = FileDialog(request);
  if (!path) {
    m_capture.m_bFilterEnable = 0;
    return;
  }
  const platform::FileHandle file = platform::CreateFile(
      *path, platform::Access::Write, platform::Share::Read, platform::Disposition::CreateAlways);
  if (file == platform::kInvalidFile) {
    AddLog("CreateFile() failed !");
    m_capture.m_bFilterEnable = 0;
    return;
  }
  // The file is open before the filter exists: deliveries may begin during
  // SetFilter itself.
  m_capture.Open(file);
  if (TunerApi.SetFilter != nullptr &&
      TunerApi.SetFilter(static_cast<uint16_t>(m_capture.m_nPid), TsDataCallback, 2, 1,
                         &m_capture.m_nTsFilter) != 0) {
    AddLog("SetFilter() success.");
    m_capture.m_bCapturing = true;
  } else {
    m_capture.Close();
    AddLog("SetFilter() failed !");
    m_capture.m_bFilterEnable = 0;
    // Whatever the library left there is no filter of ours: closing the
    // window must not delete it.
    m_capture.m_nTsFilter = -1;
  }
}

void CQuorvexDemoDlg::StopCapture() {
  const bool deleted = TunerApi.DelFilter(m_capture.m_nTsFilter) != 0;
  m_capture.Close();
  // A write that failed before the filter was gone is told before the outcome.
  m_capture.ReportWriteFailure();
  AddLog(deleted ? "DelFilter() success." : "DelFilter() failed !");
  // A filter that could not be deleted keeps its number: it is deleted
  // before the next capture and when the window closes.
  if (deleted) m_capture.m_nTsFilter = -1;
  m_capture.m_bCapturing = false;
  m_capture.m_bFilterEnable = 0;
  m_capture.ShowFinalStatus();
  m_capture.m_strFilterInfo = GetDlgItemText(IDC_STATIC_FILTER_INFO);
}

void CQuorvexDemoDlg::OnFilterEnableClicked() {
  ToggleByClickedBox(IDC_CHK_FILTER_ENABLE, m_capture.m_bFilterEnable, m_capture.m_bCapturing,
                     &CQuorvexDemoDlg::StartCapture, &CQuorvexDemoDlg::StopCapture);
}
