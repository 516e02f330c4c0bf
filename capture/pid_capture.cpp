// PID capture: the "Enable" box of the "Filter" group starts and stops the
// recording of one PID's packets to a file; the library hands every buffer to
// TsDataCallback on a thread of its own.
#include <atomic>
#include <mutex>
#include <optional>
#include <string>

#include "app/quorvex_demo_dlg.h"
#include "capture/capture_status.h"
#include "res/resource_ids.h"
#include "tuner/tuner_api.h"

platform::FileHandle g_hStreamFile = platform::kInvalidFile;

namespace {

// Held by the callback around its write and by the user-interface thread
// around closing, so the file is never closed under a write in flight, even
// by a library that delivers while DelFilter is running.
std::mutex g_streamMutex;
// Bytes that reached the file since the last start.
std::atomic<uint64_t> g_qwStreamBytes{0};

// The first failed or short write of a capture is reported once: the callback
// marks it posted and posts; whichever of that post and the stop path comes
// first logs it, so the line is never lost nor doubled, and one posted in an
// earlier capture finds nothing to log in the next.
enum WriteFailure : int { kWriteOk, kWriteFailurePosted, kWriteFailureLogged };
std::atomic<int> g_writeFailure{kWriteOk};

void LogWriteFailureOnce() {
  int posted = kWriteFailurePosted;
  if (g_writeFailure.compare_exchange_strong(posted, kWriteFailureLogged) && g_pDlg != nullptr &&
      g_pDlg->HasWindow()) {
    g_pDlg->AddLog("WriteFile() failed !");
  }
}

// The status coalesces by pending state and by time: the first delivery after
// a quiet spell posts one update; from then on the update stays pending, and a
// window timer shows the latest total once per period for as long as the
// total grows, then once more (the trailing update) and goes quiet. A stream
// at the disk's speed thus costs one load per buffer instead of one post.
// An update carries the capture it belongs to, so one left over from an
// earlier capture never overwrites the text.
std::atomic<bool> g_statusPending{false};
std::atomic<uint32_t> g_statusCapture{0};
// The total last shown; user-interface thread only.
uint64_t g_statusShownBytes = 0;

void ShowTotal(CQuorvexDemoDlg& dlg, uint64_t bytes) {
  g_statusShownBytes = bytes;
  dlg.SetCaptureStatus(CaptureStatusText(bytes));
}

void ShowStatus(uint32_t capture) {
  if (capture != g_statusCapture.load() || g_pDlg == nullptr || !g_pDlg->HasWindow()) return;
  ShowTotal(*g_pDlg, g_qwStreamBytes.load());
  g_pDlg->SetTimer(kCaptureStatusTimerId, kCaptureStatusPeriodMs);
}

void CloseStreamFile() {
  std::lock_guard lock(g_streamMutex);
  if (g_hStreamFile != platform::kInvalidFile) platform::CloseHandle(g_hStreamFile);
  g_hStreamFile = platform::kInvalidFile;
}

}  // namespace

uint64_t CaptureDeliveredBytes() { return g_qwStreamBytes.load(); }

// Runs on the library's thread. It never waits for the user-interface
// thread, which may at this moment be inside DelFilter waiting for it.
void QV_CALLBACK TsDataCallback(const uint8_t* data, uint32_t length) {
  bool failed = false;
  {
    std::lock_guard lock(g_streamMutex);
    // A delivery after the capture stopped has no file to go to.
    if (g_hStreamFile == platform::kInvalidFile) return;
    // The total counts what reached the file, so it always matches the
    // file's length; the capture goes on after a failed write.
    uint32_t written = 0;
    if (!platform::WriteFile(g_hStreamFile, data, length, written)) written = 0;
    g_qwStreamBytes.fetch_add(written);
    failed = written < length;
  }
  if (failed) {
    int ok = kWriteOk;
    if (g_writeFailure.compare_exchange_strong(ok, kWriteFailurePosted)) {
      fw::Dialog::PostToUi(LogWriteFailureOnce);
    }
  }
  if (!g_statusPending.load(std::memory_order_relaxed) && !g_statusPending.exchange(true)) {
    const uint32_t capture = g_statusCapture.load();
    fw::Dialog::PostToUi([capture] { ShowStatus(capture); });
  }
}

void CQuorvexDemoDlg::OnCaptureStatusTimer() {
  const uint64_t bytes = g_qwStreamBytes.load();
  if (bytes != g_statusShownBytes) {
    ShowTotal(*this, bytes);
    return;
  }
  // Quiet for a whole period: the next delivery posts anew. One that came
  // between the load above and the clear saw the update pending and did not.
  KillTimer(kCaptureStatusTimerId);
  g_statusPending.store(false);
  if (g_qwStreamBytes.load() != bytes && !g_statusPending.exchange(true)) {
    ShowTotal(*this, g_qwStreamBytes.load());
    SetTimer(kCaptureStatusTimerId, kCaptureStatusPeriodMs);
  }
}

void CQuorvexDemoDlg::SetCaptureStatus(const std::string& text) {
  // The member follows the text, so a later exchange into the controls
  // writes back what is shown rather than an older total.
  m_strFilterInfo = text;
  SetDlgItemText(IDC_STATIC_FILTER_INFO, text);
}

bool CQuorvexDemoDlg::DeleteOrphanCaptureFilter() {
  if (TunerApi.DelFilter(m_nTsFilter) == 0) {
    AddLog("DelFilter() failed !");
    return false;
  }
  AddLog("DelFilter() success.");
  m_nTsFilter = -1;
  return true;
}

void CQuorvexDemoDlg::StartCapture() {
  // No filter of ours delivers into a file here, so nothing counts while
  // the count restarts.
  g_qwStreamBytes.store(0);
  g_statusCapture.fetch_add(1);
  g_statusPending.store(false);
  g_statusShownBytes = 0;
  g_writeFailure.store(kWriteOk);

  if (!CapturePidAccepted(m_nPid)) {
    AddLog("PID must be 0-8192 !");
    m_bFilterEnable = 0;
    return;
  }
  // A filter whose deletion failed may still deliver, and the callback cannot
  // tell its buffers from the new filter's: no new file until it is gone.
  if (m_nTsFilter != -1 && !DeleteOrphanCaptureFilter()) {
    m_bFilterEnable = 0;
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
    m_bFilterEnable = 0;
    return;
  }
  const platform::FileHandle file = platform::CreateFile(
      *path, platform::Access::Write, platform::Share::Read, platform::Disposition::CreateAlways);
  if (file == platform::kInvalidFile) {
    AddLog("CreateFile() failed !");
    m_bFilterEnable = 0;
    return;
  }
  // The file is open before the filter exists: deliveries may begin during
  // SetFilter itself.
  {
    std::lock_guard lock(g_streamMutex);
    g_hStreamFile = file;
  }
  if (TunerApi.SetFilter != nullptr &&
      TunerApi.SetFilter(static_cast<uint16_t>(m_nPid), TsDataCallback, 2, 1, &m_nTsFilter) != 0) {
    AddLog("SetFilter() success.");
    m_bCapturing = true;
  } else {
    CloseStreamFile();
    AddLog("SetFilter() failed !");
    m_bFilterEnable = 0;
    // Whatever the library left there is no filter of ours: closing the
    // window must not delete it.
    m_nTsFilter = -1;
  }
}

void CQuorvexDemoDlg::StopCapture() {
  const bool deleted = TunerApi.DelFilter(m_nTsFilter) != 0;
  CloseStreamFile();
  // A write that failed before the filter was gone is told before the outcome.
  LogWriteFailureOnce();
  AddLog(deleted ? "DelFilter() success." : "DelFilter() failed !");
  // A filter that could not be deleted keeps its number: it is deleted
  // before the next capture and when the window closes.
  if (deleted) m_nTsFilter = -1;
  m_bCapturing = false;
  m_bFilterEnable = 0;
  // An update still pending would show this same total later; show it now,
  // exact, and let a late one pass. With none pending the text already shows
  // the final total, or keeps the last capture's when nothing came.
  KillTimer(kCaptureStatusTimerId);
  g_statusCapture.fetch_add(1);
  if (g_statusPending.exchange(false)) ShowTotal(*this, g_qwStreamBytes.load());
  m_strFilterInfo = GetDlgItemText(IDC_STATIC_FILTER_INFO);
}

void CQuorvexDemoDlg::OnFilterEnableClicked() {
  ToggleByClickedBox(IDC_CHK_FILTER_ENABLE, m_bFilterEnable, m_bCapturing,
                     &CQuorvexDemoDlg::StartCapture, &CQuorvexDemoDlg::StopCapture);
}
