#include "sweep/sweep_session.h"

#include <filesystem>
#include <thread>

#include "channels/channel_entry.h"
#include "channels/channel_file.h"
#include "res/resource_ids.h"
#include "sweep/sweep_report.h"
#include "sweep/sweep_text.h"

namespace {

SweepSession* g_current = nullptr;

// A tick gives the window back after this long, however many steps are due.
constexpr auto kTickBudget = std::chrono::milliseconds(40);

// Where dtv-scan-tables installs its channel files.
constexpr const char* kScanTables = "/usr/share/dvb";

std::string Joined(const std::vector<std::string>& texts) {
  std::string out;
  for (const std::string& t : texts) out += (out.empty() ? "" : ", ") + t;
  return out;
}

std::string Folder(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

const std::vector<int>& SweepLockedControls() {
  static const std::vector<int> ids = {
      IDC_BTN_TUNE,          IDC_CB_DEVICE,       IDC_LIST_MIS,         IDC_BTN_DISEQC_SEND,
      IDC_CHK_FILTER_ENABLE, IDC_BTN_EEPROM_READ, IDC_BTN_EEPROM_WRITE,
  };
  return ids;
}

std::vector<std::string> SweepSummaryLines(const SweepPlan& plan, size_t swept, size_t locked,
                                           bool stopped) {
  std::vector<std::string> lines;
  if (std::string skipped = SkippedSummary(plan); !skipped.empty()) lines.push_back(skipped);
  if (!plan.errors.empty()) lines.push_back("Errors: " + std::to_string(plan.errors.size()));
  if (stopped) {
    lines.push_back("Stopped after " + std::to_string(swept) + " of " +
                    std::to_string(plan.items.size()) + " transponders");
    lines.push_back(LockedSummary(locked, swept));
  } else {
    lines.push_back(LockedSummary(locked, plan.items.size()));
  }
  return lines;
}

SweepSession::SweepSession(UiPort& ui, DeviceQuery device, TunerMaker makeTuner,
                           SweepSettings settings,
                           std::function<SweepEngine::Clock::time_point()> now)
    : ui_(ui),
      device_(std::move(device)),
      makeTuner_(std::move(makeTuner)),
      settings_(settings),
      now_(std::move(now)) {
  g_current = this;
}

SweepSession::~SweepSession() {
  if (g_current == this) g_current = nullptr;
}

SweepSession* SweepSession::Current() { return g_current; }

void SweepSession::Open() {
  if (window_ == nullptr) window_ = ui_.OpenSweep(*this);
  if (window_ != nullptr) return window_->BringToFront();
  // A menu entry that does nothing would look like a hang or a crash.
  if (ui_.Shown()) {
    ui_.Box(
        "This window offers no sweep window yet: use quorvex-sweep, or the script host's "
        "sweep action.",
        "Transponder sweep", fw::BoxIcon::Information);
  }
}

std::string SweepSession::FileText() const {
  return path_.empty() ? "No channel file chosen" : path_;
}

void SweepSession::ChooseFile() {
  if (!ui_.Shown()) return;
  fw::FileDialogRequest request;
  request.save = false;
  // dtv-scan-tables' files have no extension; dvbv5-scan's end in .conf.
  request.filter = "All Files (*.*)|*.*|Channel files (*.conf)|*.conf||";
  std::error_code ec;
  if (!path_.empty()) {
    request.initialDir = Folder(path_);
  } else if (std::filesystem::is_directory(kScanTables, ec)) {
    request.initialDir = kScanTables;
  }
  if (std::optional<std::string> path = ui_.AskFile(request)) {
    path_ = std::move(*path);
    if (!Running()) status_ = "Ready to sweep " + BaseName(path_) + ".";
  }
  Refresh();
}

bool SweepSession::Begin(const std::string& path) {
  if (Running()) {
    status_ = "A sweep is already running.";
    return false;
  }
  const std::optional<SweepDevice> device = device_();
  if (!device) {
    status_ = "No device is started: choose one in the device list.";
    return false;
  }
  std::string text;
  channels::ChannelError error;
  if (!channels::ReadChannelFileText(path, text, error)) {
    status_ = error.Text();
    return false;
  }
  plan_ = PlanSweep({channels::ReadChannelText(path, text)}, device->tunerType, device->lnb);
  results_.clear();
  locked_ = 0;
  if (plan_.items.empty()) {
    std::string why = "Nothing to sweep in " + BaseName(path) + ".";
    if (std::string skipped = SkippedSummary(plan_); !skipped.empty()) why += " " + skipped;
    if (!plan_.errors.empty()) why += " Errors: " + std::to_string(plan_.errors.size());
    status_ = why;
    return false;
  }
  std::vector<ChannelTuning> tunings;
  tunings.reserve(plan_.items.size());
  for (const SweepItem& item : plan_.items) tunings.push_back(item.tuning);
  tuner_ = makeTuner_(*device);
  engine_ = std::make_unique<SweepEngine>(*tuner_, std::move(tunings), settings_, now_);
  saved_.clear();
  for (int id : SweepLockedControls()) {
    saved_.emplace_back(id, ui_.IsEnabled(id));
    ui_.Enable(id, false);
  }
  ShowStatusOfCurrent();
  return true;
}

std::optional<SweepResult> SweepSession::Step() {
  std::optional<SweepResult> r = engine_->Advance();
  if (r) {
    locked_ += r->locked;
    results_.push_back(*r);
  }
  return r;
}

void SweepSession::End(bool stopped) {
  if (!Running()) return;
  engine_.reset();
  tuner_.reset();
  if (ticking_) ui_.KillTimer(kSweepTimerId);
  ticking_ = false;
  // Exactly as before: a control the device did not offer stays disabled.
  for (const auto& [id, enabled] : saved_) ui_.Enable(id, enabled);
  saved_.clear();
  std::string status;
  for (const std::string& line : SweepSummaryLines(plan_, results_.size(), locked_, stopped)) {
    status += (status.empty() ? "" : "; ") + line;
  }
  status_ = status;
}

void SweepSession::ShowStatusOfCurrent() {
  const size_t at = engine_->Current();
  if (at >= plan_.items.size()) return;
  status_ = "Sweeping " + std::to_string(at + 1) + " of " + std::to_string(plan_.items.size()) +
            ": " + TransponderText(plan_.items[at]);
}

void SweepSession::Start() {
  if (!CanStart()) return;
  if (Begin(path_)) {
    ticking_ = ui_.SetTimer(kSweepTimerId, kSweepTickMs);
    // Without a timer nothing would drive the sweep: it ends before any call.
    if (!ticking_) {
      End(true);
      status_ = "The window has no timer to give: the sweep did not start.";
    }
  }
  Refresh();
}

void SweepSession::OnTimer() {
  if (!Running()) return;
  const auto until = now_() + kTickBudget;
  bool changed = false;
  while (!engine_->Done() && engine_->NextDue() <= now_() && now_() < until) {
    if (Step()) {
      changed = true;
      if (!engine_->Done()) ShowStatusOfCurrent();
    }
  }
  if (engine_->Done()) {
    End(false);
    changed = true;
  }
  if (changed) Refresh();
}

void SweepSession::Stop() {
  // The transponder in hand is dropped: no library call comes after this.
  End(true);
  Refresh();
}

void SweepSession::Abort() { End(true); }

bool SweepSession::RunNow(const std::string& path, const LineSink& line) {
  if (!Begin(path)) {
    line(status_);
    return false;
  }
  for (const channels::ChannelError& e : plan_.errors) line("error: " + e.Text());
  while (!engine_->Done()) {
    std::this_thread::sleep_until(engine_->NextDue());
    if (std::optional<SweepResult> r = Step()) {
      line(ResultLine(plan_.items[r->index], *r, settings_.lockTimeoutMs));
    }
  }
  End(false);
  for (const std::string& l : SweepSummaryLines(plan_, results_.size(), locked_, false)) line(l);
  Refresh();
  return true;
}

std::vector<std::string> SweepSession::Columns() const {
  return {"Entry", "Transponder", "Result", "Signal"};
}

std::vector<std::string> SweepSession::Row(size_t index) const {
  if (index >= results_.size()) return {"", "", "", ""};
  const SweepResult& r = results_[index];
  const SweepItem& item = plan_.items[r.index];
  std::string outcome = OutcomeText(r, settings_.lockTimeoutMs);
  if (!r.tune.note.empty()) outcome += " (" + r.tune.note + ")";
  return {EntryPlace(item.entry), TransponderText(item), outcome, Joined(r.reading.texts)};
}

void SweepSession::Save() {
  if (!ui_.Shown() || results_.empty()) return;
  fw::FileDialogRequest request;
  request.defaultName = "sweep.csv";
  request.defaultExt = "csv";
  request.filter = "CSV (*.csv)|*.csv|All Files (*.*)|*.*||";
  const std::optional<std::string> path = ui_.AskFile(request);
  if (!path) return;
  if (!WriteWholeFile(*path, SweepCsv(plan_, results_))) {
    ui_.Box("Can't write " + *path, "Error", fw::BoxIcon::Stop);
  }
}

void SweepSession::Closed() {
  // A sweep nobody can see or stop does not go on.
  End(true);
  window_ = nullptr;
}

void SweepSession::Refresh() {
  if (window_ != nullptr) window_->ShowNewData();
}
