#include "capture/capture_control.h"

#include <optional>
#include <string>

#include "capture/capture_status.h"
#include "res/resource_ids.h"
#include "tuner/tuner_api.h"
#include "tuner/ui_port.h"

CaptureControl::CaptureControl(UiPort& ui) : session(ui), ui_(ui) {}

void CaptureControl::Start() {
  session.Restart();
  if (!CapturePidAccepted(m_nPid)) {
    ui_.Log("PID must be 0-8192 !");
    m_bFilterEnable = 0;
    return;
  }
  // A filter whose deletion failed may still deliver, and the callback cannot
  // tell its buffers from the new filter's: no new file until it is gone.
  if (!filter_.ClearOrphan(ui_)) {
    m_bFilterEnable = 0;
    return;
  }
  // Built whole, not assigned field by field: GCC 12 at -O3 otherwise warns
  // that the short extension string may be read uninitialised.
  const fw::FileDialogRequest request{.save = true,
                                      .defaultName = kStreamDefaultName,
                                      .defaultExt = kStreamDefaultExt,
                                      .filter = kStreamFilter,
                                      .initialDir = {}};
  const std::optional<std::string> path = ui_.AskFile(request);
  if (!path) {
    m_bFilterEnable = 0;
    return;
  }
  const platform::FileHandle file = platform::CreateFile(
      *path, platform::Access::Write, platform::Share::Read, platform::Disposition::CreateAlways);
  if (file == platform::kInvalidFile) {
    ui_.Log("CreateFile() failed !");
    m_bFilterEnable = 0;
    return;
  }
  // The file is open before the filter exists: deliveries may begin during
  // SetFilter itself, and count in the first interval.
  session.Open(file);
  const bool added = filter_.Register([&](int32_t* number) {
    return TunerApi.SetFilter != nullptr &&
           TunerApi.SetFilter(static_cast<uint16_t>(m_nPid), TsDataCallback, 2, 1, number) != 0;
  });
  if (added) {
    taken_ = TsHealthTotals{};
    takenAt_ = std::chrono::steady_clock::now();
    ui_.Log("SetFilter() success.");
  } else {
    session.Close();
    ui_.Log("SetFilter() failed !");
    m_bFilterEnable = 0;
  }
}

void CaptureControl::Stop() {
  // A write that failed before the filter was gone is told before the
  // outcome; a filter that could not be deleted is deleted before the next
  // capture and when the window closes.
  filter_.Delete(ui_, [this](bool) {
    session.Close();
    session.ReportWriteFailure();
  });
  m_bFilterEnable = 0;
  session.ShowFinalStatus();
  session.m_strFilterInfo = ui_.Text(IDC_STATIC_FILTER_INFO);
}

void CaptureControl::Close() { filter_.Close(ui_); }

int CaptureControl::EnableBox() const { return IDC_CHK_FILTER_ENABLE; }

// The library winds a stopped capture down before the device changes.
unsigned CaptureControl::SettleMs() const { return 500; }

std::optional<StreamInterval> CaptureControl::TakeInterval() {
  if (!Running()) return std::nullopt;
  const TsHealthTotals now = session.StreamTotals();
  const auto at = std::chrono::steady_clock::now();
  const TsHealthTotals d = now.Since(taken_);
  const double seconds = std::chrono::duration<double>(at - takenAt_).count();
  taken_ = now, takenAt_ = at;
  StreamInterval s;
  s.mbps = seconds > 0 ? static_cast<double>(d.bytes) * 8 / seconds / 1e6 : 0;
  s.packets = d.packets, s.ccErrors = d.ccErrors, s.syncLosses = d.syncLosses;
  s.teiPackets = d.teiPackets;
  return s;
}
