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
std::atomic<uint64_t> g_qwStreamBytes{0};

// At most one status update waits for the user-interface thread: a fast
// stream raises the total the waiting update will show instead of queueing
// more. An update carries the capture it belongs to, so one left over from
// an earlier capture never overwrites the text.
std::atomic<bool> g_statusPending{false};
std::atomic<uint32_t> g_statusCapture{0};

void ShowStatus(uint32_t capture) {
  if (capture != g_statusCapture.load()) return;
  // Cleared before the total is read: a delivery after this point posts anew.
  g_statusPending.store(false);
  if (g_pDlg != nullptr && g_pDlg->HasWindow()) {
    g_pDlg->SetDlgItemText(IDC_STATIC_FILTER_INFO, CaptureStatusText(g_qwStreamBytes.load()));
  }
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
  {
    std::lock_guard lock(g_streamMutex);
    // A delivery after the capture stopped has no file to go to.
    if (g_hStreamFile == platform::kInvalidFile) return;
    // A failed write is not reported: the capture goes on and the total
    // still counts what was delivered.
    uint32_t written = 0;
    platform::WriteFile(g_hStreamFile, data, length, written);
    g_qwStreamBytes.fetch_add(length);
  }
  if (!g_statusPending.exchange(true)) {
    const uint32_t capture = g_statusCapture.load();
    fw::Dialog::PostToUi([capture] { ShowStatus(capture); });
  }
}

void CQuorvexDemoDlg::OnFilterEnableClicked() {
  UpdateData(true);
  if (m_bFilterEnable != 0) {
    // No filter is live here, so nothing delivers while the count restarts.
    g_qwStreamBytes.store(0);
    g_statusCapture.fetch_add(1);
    g_statusPending.store(false);

    std::optional<std::string> path;
    if (!CapturePidAccepted(m_nPid)) {
      AddLog("PID must be 0-8192 !");
    } else {
      // Built whole, not assigned field by field: GCC 12 at -O3 otherwise
      // warns that the short extension string may be read uninitialised.
      const fw::FileDialogRequest request{.save = true,
                                          .defaultName = kStreamDefaultName,
                                          .defaultExt = kStreamDefaultExt,
                                          .filter = kStreamFilter};
      path = FileDialog(request);
    }
    if (!path) {
      m_bFilterEnable = 0;
    } else {
      const platform::FileHandle file =
          platform::CreateFile(*path, platform::Access::Write, platform::Share::Read,
                               platform::Disposition::CreateAlways);
      if (file == platform::kInvalidFile) {
        AddLog("CreateFile() failed !");
        m_bFilterEnable = 0;
      } else {
        // The file is open before the filter exists: deliveries may begin
        // during SetFilter itself.
        {
          std::lock_guard lock(g_streamMutex);
          g_hStreamFile = file;
        }
        if (TunerApi.SetFilter != nullptr &&
            TunerApi.SetFilter(static_cast<uint16_t>(m_nPid), TsDataCallback, 2, 1, &m_nTsFilter) !=
                0) {
          AddLog("SetFilter() success.");
        } else {
          CloseStreamFile();
          AddLog("SetFilter() failed !");
          m_bFilterEnable = 0;
          // Whatever the library left there is no filter of ours: closing
          // the window must not delete it.
          m_nTsFilter = -1;
        }
      }
    }
  } else {
    if (TunerApi.DelFilter(m_nTsFilter) != 0) {
      AddLog("DelFilter() success.");
    } else {
      AddLog("DelFilter() failed !");
    }
    CloseStreamFile();
    m_nTsFilter = -1;
    m_bFilterEnable = 0;
    // An update still on its way would show this same total later; show it
    // now, and let the late one pass.
    g_statusCapture.fetch_add(1);
    if (g_statusPending.exchange(false)) {
      m_strFilterInfo = CaptureStatusText(g_qwStreamBytes.load());
    }
  }
  UpdateData(false);
}
