// The signal figures of every poll, kept for a day and more so a fade or a
// lock loss can be looked at after the fact.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

// What a capture delivered in the interval since the sample before.
struct StreamInterval {
  double mbps = 0;  // bit rate of the bytes delivered, in Mbit/s
  uint64_t packets = 0, ccErrors = 0, syncLosses = 0, teiPackets = 0;
  // Continuity errors, sync losses and packets flagged as errored, together.
  uint64_t Errors() const { return ccErrors + syncLosses + teiPackets; }
  bool operator==(const StreamInterval&) const = default;
};

// One poll. A figure the library did not report is absent, never zero. The
// figures are doubles so that every 32-bit integer and every float a library
// reports is kept exactly, absurd ones included.
struct SignalSample {
  int64_t timeMs = 0;     // milliseconds since 1970-01-01 UTC
  uint32_t series = 0;    // which device start the sample belongs to
  bool tuneMark = false;  // the first sample after a tune
  std::optional<bool> present, lock;
  std::optional<double> levelPct, qualityPct, rfDbm, snrDb, ber;
  std::optional<StreamInterval> stream;  // while a capture ran
};

// A bounded ring of samples, oldest first; the oldest go when it is full.
class SignalHistory {
 public:
  // A day of two-second polls fits three times over, a day of fast ones too.
  static constexpr size_t kDefaultCapacity = 1u << 17;

  explicit SignalHistory(size_t capacity = kDefaultCapacity);

  // Starts a new series (a device start) whose samples carry `device`.
  void StartSeries(std::string device);
  // The next sample is marked as the first after a tune.
  void MarkTune();
  // Appends a sample to the current series (it takes the series and mark).
  void Add(SignalSample sample);

  size_t Size() const { return count_; }
  // Sample `i`, 0 being the oldest kept.
  const SignalSample& At(size_t i) const;
  // The device name of a series ("" for one never started, or no longer kept).
  const std::string& Device(uint32_t series) const;
  // How many device names are kept: those of the kept samples' series and of
  // the current one (at most the capacity and one), however many device
  // starts the ring has seen.
  size_t SeriesKept() const { return devices_.size(); }
  // Index of the first sample at or after `timeMs`.
  size_t FirstAtOrAfter(int64_t timeMs) const;

 private:
  size_t capacity_;
  std::vector<SignalSample> ring_;
  size_t head_ = 0, count_ = 0;
  uint32_t series_ = 0;
  bool tunePending_ = false;
  // The names of series firstSeries_, firstSeries_ + 1, ... series_.
  std::deque<std::string> devices_{""};
  uint32_t firstSeries_ = 0;
  bool seriesSampled_ = false;  // whether the current series has a sample

  // Drops the names of series that have no sample left and are not current.
  void DropOldSeries();
};

// At most `buckets` samples standing for samples [first, last) of `h`: each
// bucket averages the finite figures it has (one that has only NaN or
// infinities keeps NaN, which the chart leaves out), counts as locked only
// when every sample reporting lock was locked (a short loss stays visible),
// keeps any tune mark, and never spans two series. Fewer samples than buckets come back as they
// are.
std::vector<SignalSample> Decimate(const SignalHistory& h, size_t first, size_t last,
                                   size_t buckets);
