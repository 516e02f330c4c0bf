// The sweep's tuner: the library bound in TunerApi, driven through the
// dialog's own code. Tuning is the dialog's call of the richest of
// SetChannelExEx, SetChannelEx and SetChannel (no fallback), then the
// transponder's input stream through the MIS list's selection; a reading is
// the dialog's signal poll, its texts and figures taken from a port that
// stands in for the "Signal statistics" group, with the controls enabled as a
// device start enables them. A recording is the whole transport stream
// through the same filter registration as the dialog's capture, every
// buffer counted by the stream-health counter and none kept.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "capture/ts_health.h"
#include "sweep/sweep_engine.h"
#include "tuner/library_filter.h"
#include "tuner/quorvex_api.h"

class LibraryTuner : public SweepTuner {
 public:
  // Runs one step that calls the library (`name` says which); the
  // command-line program puts each under a time limit. Without one, steps
  // are run directly.
  using CallRunner = std::function<int32_t(const char* name, const std::function<int32_t()>& call)>;

  // `caps`: the started device's capability mask; none when the library has
  // no GetCaps (every feature whose entry point is exported is then offered).
  explicit LibraryTuner(std::optional<uint32_t> caps, CallRunner run = {});
  // A filter still held is deleted while the library is loaded.
  ~LibraryTuner() override;
  LibraryTuner(const LibraryTuner&) = delete;
  LibraryTuner& operator=(const LibraryTuner&) = delete;

  SweepTuneOutcome Tune(const ChannelTuning& tuning) override;
  SweepReading Read() override;
  // SetFilter on the whole stream, as the dialog's capture registers it.
  std::string StartRecording() override;
  // DelFilter, then the counter's totals.
  SweepRecordingEnd StopRecording() override;

  // The PID that asks SetFilter for every packet of the stream.
  static constexpr uint32_t kWholeStreamPid = 8192;

 private:
  int32_t Call(const char* name, const std::function<int32_t()>& call);
  // The library's data callback: counts the buffer in the recording's counter.
  static void QV_CALLBACK OnStreamData(const uint8_t* data, uint32_t length);

  std::optional<uint32_t> caps_;
  CallRunner run_;
  // The MIS list entry last applied (0 "OFF", n + 1 stream n); none at first,
  // as the device may hold a selection from before.
  std::optional<int> misEntry_;
  // Fed on the library's thread while a filter of ours lives; on the heap, as
  // it is large.
  std::unique_ptr<TsHealthCounter> health_;
  LibraryFilter filter_{{}};
};
