// The dialog's signal history: takes each poll's sample, and answers the
// "Signal history..." chart window and the CSV export.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "framework/chart_window.h"
#include "tuner/ui_port.h"
#include "tuning/signal_clock.h"
#include "tuning/signal_history.h"

// The timer of fast sampling, and its period.
inline constexpr uintptr_t kFastSignalTimerId = 133;
inline constexpr unsigned kFastSignalPeriodMs = 500;

class SignalRecorder final : public fw::ChartWindowModel {
 public:
  explicit SignalRecorder(UiPort& ui);
  ~SignalRecorder() override;
  SignalRecorder(const SignalRecorder&) = delete;
  SignalRecorder& operator=(const SignalRecorder&) = delete;

  // A device started: its samples form a new series named after it.
  void StartSeries(std::string device);
  // The device is being stopped: fast sampling pauses until the next start.
  void EndSeries() { running_ = false; }
  // A tune was made; the next sample shows it.
  void MarkTune() { history_.MarkTune(); }
  // Stamps the sample with the time now (SampleClock: the order survives a
  // change of the system clock), keeps it, updates the window.
  void Record(SignalSample sample);
  // Whether a tick of this timer is a fast sample to take.
  bool IsFastTick(uintptr_t timerId) const;
  // Opens the chart window, or brings it to the front.
  void Open();
  const SignalHistory& History() const { return history_; }

  // The recorder of the running dialog (there is one), or nullptr.
  static SignalRecorder* Current();

  // fw::ChartWindowModel.
  std::string Title() const override { return "Signal history"; }
  std::vector<std::string> SpanNames() const override;
  int Span() const override { return span_; }
  void SetSpan(int index) override;
  std::string SwitchName() const override { return "Fast (0.5 s)"; }
  bool Switch() const override { return fast_; }
  void SetSwitch(bool on) override;
  void Save() override;
  std::string Summary() const override;
  fw::ChartPicture Picture(int width, int height) const override;
  void Closed() override;

 private:
  UiPort& ui_;
  SignalHistory history_;
  SampleClock clock_;
  fw::ChartWindow* window_ = nullptr;
  int span_ = 1;  // 10 minutes
  bool fast_ = false;
  bool running_ = false;
};

// The figures of one sample as the summary shows them, on two lines.
std::string SampleSummary(const SignalSample& sample);
// The window of time a chart of `span` shows of the history ending at `nowMs`:
// [t0, t1], and the index of its first sample.
struct ChartSpan {
  int64_t t0 = 0, t1 = 0;
  size_t first = 0;
};
ChartSpan SpanOf(const SignalHistory& history, int span, int64_t nowMs);
