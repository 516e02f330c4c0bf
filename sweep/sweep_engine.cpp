#include "sweep/sweep_engine.h"

#include <algorithm>
#include <cmath>
#include <thread>
#include <utility>

SweepEngine::SweepEngine(SweepTuner& tuner, std::vector<ChannelTuning> transponders,
                         SweepSettings settings, std::function<Clock::time_point()> now)
    : tuner_(tuner),
      transponders_(std::move(transponders)),
      settings_(settings),
      now_(std::move(now)),
      due_(now_()) {}

SweepEngine::~SweepEngine() {
  // A recording still running when the sweep is dropped: its filter goes too.
  if (recording_) tuner_.StopRecording();
}

bool SweepEngine::Done() const {
  return (stop_ && !waiting_) || (!waiting_ && next_ >= transponders_.size());
}

uint32_t SweepEngine::MsSince(Clock::time_point t) const {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now_() - t).count();
  return static_cast<uint32_t>(std::max<int64_t>(ms, 0));
}

SweepResult SweepEngine::Finish(bool locked) {
  waiting_ = false;
  ++finished_;
  current_.locked = locked;
  current_.elapsedMs = MsSince(started_);
  due_ = now_();
  return std::move(current_);
}

std::optional<SweepResult> SweepEngine::Locked() {
  if (settings_.recordMs == 0) return Finish(true);
  // Deliveries may begin inside the registering call: the recording's time
  // starts before it.
  recordStart_ = now_();
  std::string refused = tuner_.StartRecording();
  if (!refused.empty()) {
    current_.recordNote = std::move(refused);
    return Finish(true);
  }
  recording_ = true;
  due_ = recordStart_ + std::chrono::milliseconds(settings_.recordMs);
  return std::nullopt;
}

SweepResult SweepEngine::EndRecording() {
  recording_ = false;
  // Deliveries end once the deletion is under way: the time ends before it.
  const Clock::time_point end = now_();
  SweepRecordingEnd ended = tuner_.StopRecording();
  const double seconds = std::chrono::duration<double>(end - recordStart_).count();
  current_.recordedMs = static_cast<uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(end - recordStart_).count());
  if (seconds > 0) {
    current_.bitrateBps =
        static_cast<uint64_t>(std::llround(static_cast<double>(ended.totals.bytes) * 8 / seconds));
  }
  current_.streamErrors = ended.totals.Errors();
  current_.stream = ended.totals;
  current_.recordNote = std::move(ended.note);
  return Finish(true);
}

std::optional<SweepResult> SweepEngine::Advance() {
  if (stop_) {
    // The transponder in hand has not had its full wait: no result for it.
    // Its recording, if one runs, ends here, so that its filter is deleted.
    if (recording_) {
      recording_ = false;
      tuner_.StopRecording();
    }
    waiting_ = false;
    return std::nullopt;
  }
  if (Done() || now_() < due_) return std::nullopt;
  if (recording_) return EndRecording();
  if (!waiting_) {
    current_ = SweepResult{};
    current_.index = next_;
    started_ = now_();
    current_.tune = tuner_.Tune(transponders_[next_++]);
    if (!current_.tune.tuned) return Finish(false);
    waiting_ = true;
    tuned_ = now_();
    due_ = tuned_;
    return std::nullopt;
  }
  current_.reading = tuner_.Read();
  const uint32_t sinceTune = MsSince(tuned_);
  if (current_.reading.lock.value_or(false)) {
    current_.lockMs = sinceTune;
    return Locked();
  }
  // Without a lock flag there is nothing to wait for.
  if (!current_.reading.lock || sinceTune >= settings_.lockTimeoutMs) return Finish(false);
  const auto deadline = tuned_ + std::chrono::milliseconds(settings_.lockTimeoutMs);
  due_ = std::min(now_() + std::chrono::milliseconds(settings_.pollMs), deadline);
  return std::nullopt;
}

void RunSweep(SweepEngine& engine, const std::function<void(const SweepResult&)>& onResult) {
  while (!engine.Done()) {
    std::this_thread::sleep_until(engine.NextDue());
    if (std::optional<SweepResult> r = engine.Advance()) onResult(*r);
  }
}
