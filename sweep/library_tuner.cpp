#include "sweep/library_tuner.h"

#include <atomic>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "res/resource_ids.h"
#include "tuner/no_window_port.h"
#include "tuner/tuner_api.h"
#include "tuning/mis_selection.h"
#include "tuning/signal_history.h"
#include "tuning/signal_poll.h"
#include "tuning/tune_call.h"
#include "tuning/tune_request.h"

namespace {

// The "Signal statistics" group as the signal poll sees it: the controls a
// device start enables for these capabilities, and the texts the poll writes,
// kept in the order the group shows them. Nothing else of a dialog is there.
class SignalGroup final : public UiPort {
 public:
  explicit SignalGroup(std::optional<uint32_t> caps) {
    // As the device start sets 1069, 1016 and 1017: from the 0x8 bit, or
    // unconditionally without GetCaps; GetSignalEx only without GetSignalExEx.
    const bool offered = !caps || (*caps & QV_CAP_EXT_STATISTICS) != 0;
    rfLevel_ = offered && TunerApi.GetSignalExEx != nullptr;
    snrBer_ = offered && (TunerApi.GetSignalExEx != nullptr || TunerApi.GetSignalEx != nullptr);
  }
  bool IsEnabled(int id) const override {
    if (id == IDC_STATIC_RFLEVEL) return rfLevel_;
    if (id == IDC_STATIC_SNR || id == IDC_STATIC_BER) return snrBer_;
    return true;
  }
  void SetText(int, const std::string& text) override { texts.push_back(text); }

  void Log(const std::string&) override {}
  void LogLines(const std::string&) override {}
  void Box(const std::string&, const std::string&, fw::BoxIcon) override {}
  std::optional<std::string> AskFile(const fw::FileDialogRequest&) override { return {}; }
  void Enable(int, bool) override {}
  void Check(int, int) override {}
  int Checked(int) const override { return 0; }
  std::string Text(int) const override { return {}; }
  void Select(int, int) override {}
  bool SetTimer(uintptr_t, unsigned) override { return false; }
  void KillTimer(uintptr_t) override {}
  bool Shown() const override { return false; }
  void Post(std::function<void()>) override {}

  std::vector<std::string> texts;

 private:
  bool rfLevel_ = false, snrBer_ = false;
};

// The library's callback carries no context: the counter of the recording
// that runs is found here.
std::atomic<TsHealthCounter*> g_recordingCounter{nullptr};

template <class T>
std::optional<int32_t> Whole(const std::optional<T>& v) {
  if (!v) return std::nullopt;
  return static_cast<int32_t>(std::lround(*v));
}

}  // namespace

LibraryTuner::LibraryTuner(std::optional<uint32_t> caps, CallRunner run)
    : caps_(caps), run_(std::move(run)), health_(std::make_unique<TsHealthCounter>()) {}

LibraryTuner::~LibraryTuner() {
  // Once the library is released nothing of it delivers any more.
  const bool loaded = TunerApi.hModule != 0;
  if (loaded && filter_.Held()) {
    NoWindowPort quiet([](std::function<void()>) {});
    Call("DelFilter", [&] {
      filter_.Close(quiet);
      return 1;
    });
  }
  if (loaded && filter_.Held()) {
    // A filter the library would not delete may still deliver: its counter
    // is left to it rather than freed under it.
    static_cast<void>(health_.release());
    return;
  }
  TsHealthCounter* mine = health_.get();
  g_recordingCounter.compare_exchange_strong(mine, nullptr);
}

void QV_CALLBACK LibraryTuner::OnStreamData(const uint8_t* data, uint32_t length) {
  if (TsHealthCounter* counter = g_recordingCounter.load(std::memory_order_acquire)) {
    counter->Feed(data, length);
  }
}

int32_t LibraryTuner::Call(const char* name, const std::function<int32_t()>& call) {
  return run_ ? run_(name, call) : call();
}

SweepTuneOutcome LibraryTuner::Tune(const ChannelTuning& t) {
  SweepTuneOutcome out;
  if (const auto tooLarge = TuneRangeError(t.fields)) {
    out.failure = *tooLarge;
    return out;
  }
  const TuneEntry entry =
      ChooseTuneEntry(TunerApi.SetChannelExEx != nullptr, TunerApi.SetChannelEx != nullptr);
  const TuneArgs args = ChannelTuneArgs(t);
  if (Call(TuneEntryName(entry), [&] { return CallTune(entry, args); }) == 0) {
    out.failure = TuneFailureText(entry);
    return out;
  }
  out.tuned = true;

  // The dialog offers the MIS list only with both entry points and the bit.
  const bool mis = TunerApi.MISSel != nullptr && TunerApi.GetCaps != nullptr &&
                   (!caps_ || (*caps_ & QV_CAP_MIS) != 0);
  if (!mis) {
    if (t.streamId) {
      out.note = "stream " + std::to_string(*t.streamId) +
                 " not selected: the device offers no multistream selection";
    }
    return out;
  }
  // After the tune, as a user picks the stream once tuned; only on a change,
  // since a library may retune for each selection.
  const int wanted = t.streamId ? *t.streamId + 1 : 0;
  if (misEntry_ == wanted) return out;
  std::string line;
  NoWindowPort logged([](std::function<void()>) {}, [&](const std::string& l) { line = l; });
  Call("MISSel", [&] {
    SelectStream(logged, wanted);
    return 1;
  });
  if (line.size() >= 8 && line.compare(line.size() - 8, 8, "failed !") == 0) {
    misEntry_.reset();
    out.note = line;
  } else {
    misEntry_ = wanted;
  }
  return out;
}

SweepReading LibraryTuner::Read() {
  SignalGroup group(caps_);
  SignalSample sample;
  Call("the signal poll", [&] {
    PollSignal(group, sample, true);
    return 1;
  });
  SweepReading r;
  r.lock = sample.lock;
  r.present = sample.present;
  r.levelPct = sample.levelPct;
  r.qualityPct = Whole(sample.qualityPct);
  r.rfDbm = Whole(sample.rfDbm);
  r.snrDb = sample.snrDb;
  r.ber = sample.ber;
  r.texts = std::move(group.texts);
  return r;
}

std::string LibraryTuner::StartRecording() {
  std::string line;
  NoWindowPort logged([](std::function<void()>) {}, [&](const std::string& l) { line = l; });
  // The filter of an earlier recording whose deletion failed may still
  // deliver, and its buffers could not be told from the new filter's.
  bool cleared = true;
  Call("DelFilter", [&] {
    cleared = filter_.ClearOrphan(logged);
    return 1;
  });
  if (!cleared) return "DelFilter() failed ! for the filter of an earlier recording";
  // No filter of ours exists here, so no delivery runs into the counter.
  health_->Restart();
  g_recordingCounter.store(health_.get(), std::memory_order_release);
  const bool added = filter_.Register([&](int32_t* number) {
    return Call("SetFilter", [&] {
             return TunerApi.SetFilter(kWholeStreamPid, OnStreamData, 2, 1, number);
           }) != 0;
  });
  if (!added) {
    g_recordingCounter.store(nullptr, std::memory_order_release);
    return "SetFilter() failed !";
  }
  return {};
}

SweepRecordingEnd LibraryTuner::StopRecording() {
  SweepRecordingEnd end;
  if (!filter_.Running()) return end;
  NoWindowPort quiet([](std::function<void()>) {});
  bool deleted = false;
  Call("DelFilter", [&] {
    deleted = filter_.Delete(quiet);
    return 1;
  });
  // A filter that is gone delivers no more; one that is not keeps its counter
  // until it is deleted before the next recording.
  if (deleted) g_recordingCounter.store(nullptr, std::memory_order_release);
  const TsHealthTotals t = health_->Snapshot();
  end.totals = {t.bytes, t.packets, t.ccErrors, t.syncLosses, t.teiPackets};
  if (!deleted) end.note = "DelFilter() failed !";
  return end;
}
