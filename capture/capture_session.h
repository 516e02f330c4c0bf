// One capture's state shared with the library's thread: the file the
// buffers go to, the bytes that reached it, the report of the first failed
// write, and the status total, coalesced so that a stream at the disk's speed
// costs one load per buffer rather than one post.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>

#include "capture/ts_health.h"
#include "platform/file.h"
#include "tuner/quorvex_api.h"

class UiPort;

// Timer id and period of the status: about one display frame.
inline constexpr uintptr_t kCaptureStatusTimerId = 34;
inline constexpr unsigned kCaptureStatusPeriodMs = 16;

class CaptureSession {
 public:
  // The status goes to the "Filter" group of `ui`'s dialog and runs on its
  // timer; while the dialog shows no window nothing is shown, and whoever
  // serves the posted work calls OnStatusTimer once per period. A failed
  // write is logged there.
  explicit CaptureSession(UiPort& ui);
  // The library is released before the session goes, so no delivery follows.
  ~CaptureSession();
  CaptureSession(const CaptureSession&) = delete;
  CaptureSession& operator=(const CaptureSession&) = delete;

  // The status text, bound to its control by the dialog's data exchange.
  std::string m_strFilterInfo;

  // A new capture: the count, the status and the failure report start over.
  // Nothing of ours delivers into a file at this point.
  void Restart();
  // From here on deliveries are written to `file`, which the session owns.
  void Open(platform::FileHandle file);
  // Closes the file; a delivery from here on has nowhere to go.
  void Close();
  // Called once per delivered buffer, on the library's thread; never waits
  // for the user-interface thread, which may be inside DelFilter waiting.
  void Deliver(const uint8_t* data, uint32_t length);
  // Bytes that reached the file since the last restart.
  uint64_t Bytes() const { return bytes_.load(); }
  // Any thread: the stream's health as counted from the buffers this capture
  // was handed, and the seconds it has run (to its close, once closed).
  TsHealthTotals StreamTotals() const { return health_.Snapshot(); }
  double StreamSeconds() const;

  // The session of the program's dialog, or nullptr.
  static CaptureSession* Current();

  // User-interface thread. The status timer fired: shows a grown total, or
  // after a quiet period lets the next delivery post again.
  void OnStatusTimer();
  // Logs a failed write not logged yet (before DelFilter's outcome).
  void ReportWriteFailure();
  // Once the filter is gone: shows the exact final total when a delivery
  // came since the last one shown; otherwise the text keeps its last total.
  void ShowFinalStatus();
  // Shows a total and keeps the bound text in step with it.
  void ShowTotal(uint64_t bytes);

 private:
  // Whether a window shows the status and runs its timer.
  bool Shown() const;
  void ShowPostedStatus(uint32_t capture);

  UiPort& ui_;
  // Held by the callback around its write and by the user-interface thread
  // around closing, so the file is never closed under a write in flight, even
  // by a library that delivers while DelFilter is running.
  std::mutex fileMutex_;
  platform::FileHandle file_ = platform::kInvalidFile;
  // The last write fell short: the file is not waited for until it takes a
  // whole buffer again. Under fileMutex_.
  bool fileStalled_ = false;
  std::atomic<uint64_t> bytes_{0};
  // Fed with every buffer written to the file, under fileMutex_; read from
  // any thread. The file gets the same bytes either way.
  TsHealthCounter health_;
  // When the capture's file was opened and closed; user-interface thread.
  std::chrono::steady_clock::time_point opened_, closed_;
  bool open_ = false;
  // The first failed or short write of a capture is reported once: the
  // callback marks it posted and posts; whichever of that post and the stop
  // path comes first logs it, so the line is never lost nor doubled, and one
  // posted in an earlier capture finds nothing to log in the next.
  enum WriteFailure : int { kWriteOk, kWriteFailurePosted, kWriteFailureLogged };
  std::atomic<int> writeFailure_{kWriteOk};
  // The first delivery after a quiet spell posts one update; the update then
  // stays pending while the timer shows the growing total once per period,
  // and once more after it stops growing. An update carries the capture it
  // belongs to, so one left over from an earlier capture never shows.
  std::atomic<bool> statusPending_{false};
  std::atomic<uint32_t> statusCapture_{0};
  uint64_t shownBytes_ = 0;  // user-interface thread only
};

// The library's capture callback: hands the buffer to the dialog's session.
void QV_CALLBACK TsDataCallback(const uint8_t* data, uint32_t length);
