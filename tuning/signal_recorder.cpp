#include "tuning/signal_recorder.h"

#include <chrono>
#include <cstdio>
#include <utility>

#include "tuning/signal_chart.h"
#include "tuning/signal_csv.h"

namespace {

SignalRecorder* g_current = nullptr;

constexpr int64_t kSpanMs[] = {60'000, 600'000, 3'600'000, 0};  // 0: all

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

void Figure(std::string& out, const char* name, const std::optional<float>& v, const char* format) {
  char buf[48];
  if (v) {
    std::snprintf(buf, sizeof buf, format, static_cast<double>(*v));
  } else {
    std::snprintf(buf, sizeof buf, "-");
  }
  out.append(out.empty() || out.back() == '\n' ? "" : "   ").append(name).append(buf);
}

}  // namespace

std::string SampleSummary(const SignalSample& s) {
  std::string out = s.lock ? (*s.lock ? "Lock: yes" : "Lock: no") : "Lock: -";
  Figure(out, "Level: ", s.levelPct, "%g%%");
  Figure(out, "Quality: ", s.qualityPct, "%g%%");
  out += '\n';  // two short lines fit a narrow window
  Figure(out, "RF level: ", s.rfDbm, "%g dBm");
  Figure(out, "SNR: ", s.snrDb, "%.2f dB");
  Figure(out, "BER: ", s.ber, "%.2e");
  return out;
}

ChartSpan SpanOf(const SignalHistory& history, int span, int64_t nowMs) {
  ChartSpan c;
  // A live chart ends at the newest sample, so it stands still between polls.
  c.t1 = history.Size() > 0 ? history.At(history.Size() - 1).timeMs : nowMs;
  const int64_t length = kSpanMs[span >= 0 && span < 4 ? span : 1];
  if (length == 0) {
    c.t0 = history.Size() > 0 ? history.At(0).timeMs : c.t1 - kSpanMs[1];
    if (c.t0 >= c.t1) c.t0 = c.t1 - kSpanMs[0];
  } else {
    c.t0 = c.t1 - length;
  }
  c.first = history.FirstAtOrAfter(c.t0);
  return c;
}

SignalRecorder::SignalRecorder(fw::Dialog& owner) : owner_(owner) { g_current = this; }

SignalRecorder::~SignalRecorder() {
  if (g_current == this) g_current = nullptr;
}

SignalRecorder* SignalRecorder::Current() { return g_current; }

void SignalRecorder::StartSeries(std::string device) {
  history_.StartSeries(std::move(device));
  running_ = true;
}

void SignalRecorder::Record(SignalSample sample) {
  sample.timeMs = NowMs();
  history_.Add(std::move(sample));
  if (window_ != nullptr) window_->ShowNewData();
}

bool SignalRecorder::IsFastTick(uintptr_t timerId) const {
  return timerId == kFastSignalTimerId && fast_ && running_ && window_ != nullptr;
}

void SignalRecorder::Open() {
  if (window_ == nullptr) window_ = owner_.Window().OpenChartWindow(*this);
  if (window_ != nullptr) window_->BringToFront();
}

std::vector<std::string> SignalRecorder::SpanNames() const {
  return {"1 min", "10 min", "1 h", "All"};
}

void SignalRecorder::SetSpan(int index) {
  if (index >= 0 && index < 4) span_ = index;
  if (window_ != nullptr) window_->ShowNewData();
}

void SignalRecorder::SetSwitch(bool on) {
  // The chart window may outlive the dialog's window by a moment.
  if (on == fast_ || !owner_.HasWindow()) return;
  fast_ = on && window_ != nullptr;
  if (fast_) {
    // No timer, no fast sampling: the switch shows what really happens.
    fast_ = owner_.SetTimer(kFastSignalTimerId, kFastSignalPeriodMs) != 0;
  } else {
    owner_.KillTimer(kFastSignalTimerId);
  }
}

void SignalRecorder::Save() {
  fw::FileDialogRequest request;
  request.defaultName = "signal.csv";
  request.defaultExt = "csv";
  request.filter = "CSV (*.csv)|*.csv|All Files (*.*)|*.*||";
  if (!owner_.HasWindow()) return;
  const std::optional<std::string> path = owner_.FileDialog(request);
  if (!path) return;
  if (!WriteSignalCsv(history_, *path)) {
    owner_.MessageBox("Can't write " + *path, "Error", fw::BoxIcon::Stop);
  }
}

std::string SignalRecorder::Summary() const {
  if (history_.Size() == 0) return "No samples yet:\nthe signal is polled while a device runs.";
  const SignalSample& s = history_.At(history_.Size() - 1);
  return IsoTimeUtc(s.timeMs).substr(11, 8) + " UTC   " + SampleSummary(s);
}

fw::ChartPicture SignalRecorder::Picture(int width, int height) const {
  const ChartSpan c = SpanOf(history_, span_, NowMs());
  // About one sample per column: a day of polls draws as fast as a minute.
  const size_t columns = static_cast<size_t>(std::max(1, LayoutChart(width, height).ber.width));
  return SignalChart(Decimate(history_, c.first, history_.Size(), columns), c.t0, c.t1, width,
                     height);
}

void SignalRecorder::Closed() {
  SetSwitch(false);
  window_ = nullptr;
}
