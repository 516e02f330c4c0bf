// The sweep: tunes one transponder after another, waits for each to lock (up
// to a limit), and takes its signal figures. It calls the tuner only through
// SweepTuner and keeps no thread of its own: whoever drives it calls Advance()
// when NextDue() has come (a loop that sleeps, or a window timer), so every
// library call happens on the driving thread and a window stays responsive.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tuning/channel_tuning.h"

// One reading of the signal group. Each figure is present only when the
// library offers it and the call succeeded.
struct SweepReading {
  std::optional<bool> lock;  // none: the library reports no lock flag
  std::optional<bool> present;
  std::optional<float> levelPct;
  std::optional<int32_t> qualityPct;
  std::optional<int32_t> rfDbm;
  std::optional<float> snrDb, ber;  // without lock as the dialog shows them: -10 dB, 1
  // The group's texts as the dialog shows them, "Level: 68%" ... "BER: 0.00032"
  // ("Level: error" for a failed call); nothing for a figure not offered.
  std::vector<std::string> texts;
};

// What a recording of the whole transport stream counted, from the buffers
// the library handed over.
struct SweepStreamTotals {
  uint64_t bytes = 0, packets = 0;
  uint64_t ccErrors = 0;    // continuity-counter errors, all PIDs
  uint64_t syncLosses = 0;  // times the packet boundary was lost
  uint64_t teiPackets = 0;  // packets the demodulator flagged as uncorrected
  // Every fault together, as the result line shows it first.
  uint64_t Errors() const { return ccErrors + syncLosses + teiPackets; }
};

// How a recording ended: its totals, and a note when the library would not
// delete its filter ("DelFilter() failed !"), which may then still deliver.
struct SweepRecordingEnd {
  SweepStreamTotals totals;
  std::string note;
};

// The outcome of the tuning step.
struct SweepTuneOutcome {
  bool tuned = false;
  std::string failure;  // when not tuned: "SetChannelExEx failed !" or the range refusal
  std::string note;     // a choice that could not be applied, e.g. the stream id
};

// What the sweep tunes and reads through: the library as the dialog drives
// it (LibraryTuner), or a test's stand-in.
class SweepTuner {
 public:
  virtual ~SweepTuner() = default;
  // Tunes the transponder the way the dialog's "Tune" does.
  virtual SweepTuneOutcome Tune(const ChannelTuning& tuning) = 0;
  // Reads the signal the way the dialog's signal poll does.
  virtual SweepReading Read() = 0;
  // Starts recording the locked transponder's whole transport stream, counted
  // and not kept: empty when it runs, otherwise why not ("SetFilter() failed !").
  virtual std::string StartRecording() { return "this tuner records no stream"; }
  // Ends the recording StartRecording started; called once for each one that runs.
  virtual SweepRecordingEnd StopRecording() { return {}; }
};

struct SweepSettings {
  uint32_t lockTimeoutMs = 3000;  // how long a transponder may take to lock
  uint32_t pollMs = 20;           // between two readings while waiting for lock
  uint32_t recordMs = 0;          // how long a locked transponder's stream is recorded; 0: not
};

// One transponder's result.
struct SweepResult {
  size_t index = 0;  // of the transponder in the list the engine was given
  SweepTuneOutcome tune;
  bool locked = false;
  // From the tuning call's return to the first reading with lock.
  std::optional<uint32_t> lockMs;
  // The reading with the lock, or the last one before the limit.
  SweepReading reading;
  // From the start of the tuning call to the result.
  uint32_t elapsedMs = 0;
  // From the stream-health counter, when the transport stream was recorded:
  // the bit rate over the recording's measured duration, and every error.
  std::optional<uint64_t> bitrateBps;
  std::optional<uint64_t> streamErrors;
  std::optional<SweepStreamTotals> stream;
  std::optional<uint32_t> recordedMs;  // from the start of the recording to its end
  // Why a locked transponder has no recording, or what went wrong ending it.
  std::string recordNote;
};

class SweepEngine {
 public:
  using Clock = std::chrono::steady_clock;

  // `now` is the clock the engine measures with (tests give their own).
  SweepEngine(SweepTuner& tuner, std::vector<ChannelTuning> transponders,
              SweepSettings settings = {}, std::function<Clock::time_point()> now = Clock::now);
  // A recording still running is stopped, so no filter outlives the engine.
  ~SweepEngine();
  SweepEngine(const SweepEngine&) = delete;
  SweepEngine& operator=(const SweepEngine&) = delete;

  // One step, at or after NextDue(): tunes the next transponder, takes one
  // reading of the transponder in hand, starts the recording of a transponder
  // that locked, or ends a recording that has had its time. Returns the
  // transponder's result when it is finished (locked and recorded, out of
  // time, or its tuning failed); a call before NextDue() does nothing.
  std::optional<SweepResult> Advance();
  // When Advance() has work next (now, unless waiting for lock).
  Clock::time_point NextDue() const { return due_; }

  // Ends the sweep before the next transponder; the one in hand, if any, is
  // dropped at the next Advance() without a result (a recording running is
  // stopped there, so its filter is deleted). Safe from any thread.
  void Stop() { stop_ = true; }
  bool Stopped() const { return stop_; }
  // Every transponder has its result, or the sweep was stopped.
  bool Done() const;

  size_t Total() const { return transponders_.size(); }
  // Transponders with a result so far.
  size_t Finished() const { return finished_; }
  // The transponder in hand or next, while not Done().
  size_t Current() const { return waiting_ ? next_ - 1 : next_; }

 private:
  SweepResult Finish(bool locked);
  std::optional<SweepResult> Locked();
  SweepResult EndRecording();
  uint32_t MsSince(Clock::time_point t) const;

  SweepTuner& tuner_;
  std::vector<ChannelTuning> transponders_;
  SweepSettings settings_;
  std::function<Clock::time_point()> now_;
  std::atomic<bool> stop_{false};
  size_t next_ = 0;  // the next transponder to tune
  size_t finished_ = 0;
  bool waiting_ = false;    // transponder next_ - 1 is tuned, its lock or recording awaited
  bool recording_ = false;  // its stream is being recorded
  Clock::time_point due_, started_, tuned_, recordStart_;
  SweepResult current_;
};

// Drives `engine` to its end on the calling thread, sleeping until each step
// is due, and hands every result to `onResult` as it comes.
void RunSweep(SweepEngine& engine, const std::function<void(const SweepResult&)>& onResult);
