#include "tuning/signal_recorder.h"

#include <chrono>
#include <cmath>
#include <utility>

#include "tuning/signal_chart.h"
#include "tuning/signal_csv.h"
#include "tuning/signal_number.h"

namespace {

SignalRecorder* g_current = nullptr;

constexpr int64_t kSpanMs[] = {60'000, 600'000, 3'600'000, 0};  // 0: all

template <class Clock>
int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch())
      .count();
}

// A whole figure (as the integer entry points report them) in all its digits;
// any other as "%g" would show it.
std::string Whole(double v) {
  return std::trunc(v) == v && std::fabs(v) < 1e15 ? FixedText(v, 0) : GeneralText(v);
}

void Figure(std::string& out, const char* name, const std::optional<double>& v,
            std::string (*text)(double), const char* unit) {
  out.append(out.empty() || out.back() == '\n' ? "" : "   ").append(name);
  out.append(v ? text(*v) + unit : "-");
}

}  // namespace

std::string SampleSummary(const SignalSample& s) {
  std::string out = s.lock ? (*s.lock ? "Lock: yes" : "Lock: no") : "Lock: -";
  Figure(out, "Level: ", s.levelPct, Whole, "%");
  Figure(out, "Quality: ", s.qualityPct, Whole, "%");
  out += '\n';  // two short lines fit a narrow window
  Figure(out, "RF level: ", s.rfDbm, Whole, " dBm");
  Figure(
      out, "SNR: ", s.snrDb, [](double v) { return FixedText(v, 2); }, " dB");
  Figure(
      out, "BER: ", s.ber, [](double v) { return ScientificText(v, 2); }, "");
  // While a capture runs: what the card delivered since the sample before.
  if (s.stream) {
    const uint64_t errors = s.stream->Errors();
    out += "\nStream: " + FixedText(s.stream->mbps, 1) + " Mbit/s, " + std::to_string(errors) +
           (errors == 1 ? " error" : " errors");
  }
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

SignalRecorder::SignalRecorder(UiPort& ui) : ui_(ui) { g_current = this; }

SignalRecorder::~SignalRecorder() {
  if (g_current == this) g_current = nullptr;
}

SignalRecorder* SignalRecorder::Current() { return g_current; }

void SignalRecorder::StartSeries(std::string device) {
  history_.StartSeries(std::move(device));
  clock_.StartSeries();
  running_ = true;
}

void SignalRecorder::Record(SignalSample sample) {
  sample.timeMs =
      clock_.Stamp(NowMs<std::chrono::system_clock>(), NowMs<std::chrono::steady_clock>());
  history_.Add(std::move(sample));
  if (window_ != nullptr) window_->ShowNewData();
}

bool SignalRecorder::IsFastTick(uintptr_t timerId) const {
  return timerId == kFastSignalTimerId && fast_ && running_ && window_ != nullptr;
}

void SignalRecorder::Open() {
  if (window_ == nullptr) window_ = ui_.OpenChart(*this);
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
  if (on == fast_ || !ui_.Shown()) return;
  fast_ = on && window_ != nullptr;
  if (fast_) {
    // No timer, no fast sampling: the switch shows what really happens.
    fast_ = ui_.SetTimer(kFastSignalTimerId, kFastSignalPeriodMs);
  } else {
    ui_.KillTimer(kFastSignalTimerId);
  }
}

void SignalRecorder::Save() {
  fw::FileDialogRequest request;
  request.defaultName = "signal.csv";
  request.defaultExt = "csv";
  request.filter = "CSV (*.csv)|*.csv|All Files (*.*)|*.*||";
  if (!ui_.Shown()) return;
  const std::optional<std::string> path = ui_.AskFile(request);
  if (!path) return;
  if (!WriteSignalCsv(history_, *path)) {
    ui_.Box("Can't write " + *path, "Error", fw::BoxIcon::Stop);
  }
}

std::string SignalRecorder::Summary() const {
  if (history_.Size() == 0) return "No samples yet:\nthe signal is polled while a device runs.";
  const SignalSample& s = history_.At(history_.Size() - 1);
  return IsoTimeUtc(s.timeMs).substr(11, 8) + " UTC   " + SampleSummary(s);
}

fw::ChartPicture SignalRecorder::Picture(int width, int height) const {
  const ChartSpan c = SpanOf(history_, span_, NowMs<std::chrono::system_clock>());
  // About one sample per column: a day of polls draws as fast as a minute.
  const size_t columns = static_cast<size_t>(std::max(1, LayoutChart(width, height).ber.width));
  return SignalChart(Decimate(history_, c.first, history_.Size(), columns), c.t0, c.t1, width,
                     height);
}

void SignalRecorder::Closed() {
  SetSwitch(false);
  window_ = nullptr;
}
