// The dialog's transponder sweep: a channel file swept on the started device
// with the dialog's LNB values, one engine step per tick of a window timer so
// the window never blocks, and the controls whose library calls must not
// come between the sweep's own disabled while it runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/sweep_window.h"
#include "sweep/sweep_engine.h"
#include "sweep/sweep_plan.h"
#include "tuner/ui_port.h"

// The timer that drives a sweep, and its period.
inline constexpr uintptr_t kSweepTimerId = 233;
inline constexpr unsigned kSweepTickMs = 10;

// The device a sweep runs on, as the dialog has it.
struct SweepDevice {
  std::optional<uint32_t> tunerType;  // none: the library does not tell
  std::optional<uint32_t> caps;
  LnbValues lnb;
};

// The controls a sweep disables: each calls the library (tuning, the device
// list, the stream list, DiSEqC, the capture, the EEPROM). The message log,
// its file and the remote-control controls stay usable.
const std::vector<int>& SweepLockedControls();

class SweepSession final : public fw::SweepWindowModel {
 public:
  // The started device, or none when no device runs.
  using DeviceQuery = std::function<std::optional<SweepDevice>()>;
  // The tuner a sweep of `device` tunes and reads through.
  using TunerMaker = std::function<std::unique_ptr<SweepTuner>(const SweepDevice& device)>;
  // Receives one line of a sweep run by RunNow.
  using LineSink = std::function<void(const std::string& line)>;

  SweepSession(UiPort& ui, DeviceQuery device, TunerMaker makeTuner, SweepSettings settings = {},
               std::function<SweepEngine::Clock::time_point()> now = SweepEngine::Clock::now);
  ~SweepSession() override;
  SweepSession(const SweepSession&) = delete;
  SweepSession& operator=(const SweepSession&) = delete;

  // Opens the sweep window, or brings it to the front.
  void Open();
  // Whether a tick of this timer drives the sweep.
  bool IsTick(uintptr_t timerId) const { return timerId == kSweepTimerId; }
  // One tick: the engine's steps that are due, for a few milliseconds at most.
  void OnTimer();
  // The dialog closes: a running sweep ends now, the controls as before.
  void Abort();
  // Sweeps `path` to its end on the calling thread: each transponder's line,
  // then the closing summary, as quorvex-sweep prints them. False when the
  // sweep could not start (the reason is the one line).
  bool RunNow(const std::string& path, const LineSink& line);
  // The file the window sweeps (as chosen with "Choose...").
  void SetFile(std::string path) { path_ = std::move(path); }

  // The session of the running dialog (there is one), or nullptr.
  static SweepSession* Current();

  // fw::SweepWindowModel.
  std::string Title() const override { return "Transponder sweep"; }
  std::string FileText() const override;
  void ChooseFile() override;
  bool CanStart() const override { return !path_.empty() && !Running(); }
  void Start() override;
  void Stop() override;
  bool Running() const override { return engine_ != nullptr; }
  size_t Finished() const override { return results_.size(); }
  size_t Total() const override { return plan_.items.size(); }
  std::vector<std::string> Columns() const override;
  size_t RowCount() const override { return results_.size(); }
  std::vector<std::string> Row(size_t index) const override;
  std::string Status() const override { return status_; }
  void Save() override;
  bool CanSave() const override { return !results_.empty(); }
  void Closed() override;

  const SweepPlan& Plan() const { return plan_; }
  const std::vector<SweepResult>& Results() const { return results_; }

 private:
  // Reads the file and plans the sweep; false with the reason in status_.
  bool Begin(const std::string& path);
  // One engine step when due; its result, if it finished a transponder.
  std::optional<SweepResult> Step();
  // Ends the sweep in hand (stopped: before its end) and restores the controls.
  void End(bool stopped);
  void ShowStatusOfCurrent();
  void Refresh();

  UiPort& ui_;
  DeviceQuery device_;
  TunerMaker makeTuner_;
  SweepSettings settings_;
  std::function<SweepEngine::Clock::time_point()> now_;
  fw::SweepWindow* window_ = nullptr;
  std::string path_;
  std::string status_ = "Choose a channel file, then Start.";
  SweepPlan plan_;
  std::vector<SweepResult> results_;
  size_t locked_ = 0;
  std::unique_ptr<SweepTuner> tuner_;
  std::unique_ptr<SweepEngine> engine_;      // while a sweep runs
  bool ticking_ = false;                     // the window timer runs
  std::vector<std::pair<int, bool>> saved_;  // the disabled controls' states before
};

// The summary of a sweep's end: "Locked: 9 of 11", with the skipped entries
// and the errors before it; stopped: how far it got.
std::vector<std::string> SweepSummaryLines(const SweepPlan& plan, size_t swept, size_t locked,
                                           bool stopped);
