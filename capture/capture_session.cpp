#include "capture/capture_session.h"

#include "capture/capture_status.h"
#include "res/resource_ids.h"
#include "tuner/ui_port.h"

namespace {

// The library's callback carries no context argument, so the session it
// writes to is found here: the one the program's dialog owns.
std::atomic<CaptureSession*> g_captureSession{nullptr};

}  // namespace

void QV_CALLBACK TsDataCallback(const uint8_t* data, uint32_t length) {
  if (data == nullptr) return;
  if (CaptureSession* session = g_captureSession.load(std::memory_order_acquire)) {
    session->Deliver(data, length);
  }
}

CaptureSession::CaptureSession(UiPort& ui) : ui_(ui) {
  g_captureSession.store(this, std::memory_order_release);
}

CaptureSession::~CaptureSession() {
  CaptureSession* self = this;
  g_captureSession.compare_exchange_strong(self, nullptr);
  Close();
}

CaptureSession* CaptureSession::Current() {
  return g_captureSession.load(std::memory_order_acquire);
}

double CaptureSession::StreamSeconds() const {
  if (opened_ == std::chrono::steady_clock::time_point{}) return 0;
  const auto end = open_ ? std::chrono::steady_clock::now() : closed_;
  return std::chrono::duration<double>(end - opened_).count();
}

void CaptureSession::Restart() {
  {
    // No delivery counts while no file is open, so none runs here.
    std::lock_guard lock(fileMutex_);
    health_.Restart();
  }
  opened_ = closed_ = {};
  bytes_.store(0);
  statusCapture_.fetch_add(1);
  statusPending_.store(false);
  shownBytes_ = 0;
  writeFailure_.store(kWriteOk);
}

void CaptureSession::Open(platform::FileHandle file) {
  std::lock_guard lock(fileMutex_);
  if (file_ != platform::kInvalidFile) platform::CloseHandle(file_);
  file_ = file;
  fileStalled_ = false;
  opened_ = std::chrono::steady_clock::now();
  open_ = true;
}

void CaptureSession::Close() {
  std::lock_guard lock(fileMutex_);
  if (file_ != platform::kInvalidFile) platform::CloseHandle(file_);
  file_ = platform::kInvalidFile;
  if (open_) closed_ = std::chrono::steady_clock::now();
  open_ = false;
}

void CaptureSession::Deliver(const uint8_t* data, uint32_t length) {
  bool failed = false;
  {
    std::lock_guard lock(fileMutex_);
    // A delivery after the capture stopped has no file to go to.
    if (file_ == platform::kInvalidFile) return;
    // The total counts what reached the file, so it always matches the
    // file's length; the capture goes on after a failed write. A pipe whose
    // reader stopped reading gets its wait once: until it takes a whole
    // buffer again, later buffers take what fits and are not waited for, so
    // DelFilter never waits long on this callback.
    uint32_t written = 0;
    if (!platform::WriteFile(file_, data, length, written,
                             fileStalled_ ? 0 : platform::kStallLimitMs)) {
      written = 0;
    }
    bytes_.fetch_add(written);
    failed = written < length;
    fileStalled_ = failed;
    // The card's stream as it came, whatever the file took of it.
    health_.Feed(data, length);
  }
  if (failed) {
    int ok = kWriteOk;
    if (writeFailure_.compare_exchange_strong(ok, kWriteFailurePosted)) {
      ui_.Post([this] { ReportWriteFailure(); });
    }
  }
  // A plain load first: while the stream flows the update stays pending, and
  // the buffer costs no write to a shared line.
  if (!statusPending_.load(std::memory_order_relaxed) && !statusPending_.exchange(true)) {
    const uint32_t capture = statusCapture_.load();
    ui_.Post([this, capture] { ShowPostedStatus(capture); });
  }
}

void CaptureSession::ReportWriteFailure() {
  int posted = kWriteFailurePosted;
  if (writeFailure_.compare_exchange_strong(posted, kWriteFailureLogged) && Shown()) {
    ui_.Log("WriteFile() failed !");
  }
}

bool CaptureSession::Shown() const { return ui_.Shown(); }

void CaptureSession::ShowTotal(uint64_t bytes) {
  shownBytes_ = bytes;
  if (!Shown()) return;
  // The member follows the text, so a later exchange into the controls
  // writes back what is shown rather than an older total.
  m_strFilterInfo = CaptureStatusText(bytes);
  ui_.SetText(IDC_STATIC_FILTER_INFO, m_strFilterInfo);
}

void CaptureSession::ShowPostedStatus(uint32_t capture) {
  if (capture != statusCapture_.load()) return;
  ShowTotal(bytes_.load());
  if (Shown()) ui_.SetTimer(kCaptureStatusTimerId, kCaptureStatusPeriodMs);
}

void CaptureSession::OnStatusTimer() {
  const uint64_t bytes = bytes_.load();
  if (bytes != shownBytes_) {
    ShowTotal(bytes);
    return;
  }
  // Quiet for a whole period: the next delivery posts anew. One that came
  // between the load above and the clear saw the update pending and did not.
  if (Shown()) ui_.KillTimer(kCaptureStatusTimerId);
  statusPending_.store(false);
  if (bytes_.load() != bytes && !statusPending_.exchange(true)) {
    ShowTotal(bytes_.load());
    if (Shown()) ui_.SetTimer(kCaptureStatusTimerId, kCaptureStatusPeriodMs);
  }
}

void CaptureSession::ShowFinalStatus() {
  if (Shown()) ui_.KillTimer(kCaptureStatusTimerId);
  // An update still pending would show this same total later; show it now,
  // exact, and let a late one pass. With none pending the text already shows
  // the final total, or keeps the last capture's when nothing came.
  statusCapture_.fetch_add(1);
  if (statusPending_.exchange(false)) ShowTotal(bytes_.load());
}
