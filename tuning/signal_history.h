// The signal figures of every poll, kept for a day and more so a fade or a
// lock loss can be looked at after the fact.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One poll. A figure the library did not report is absent, never zero.
struct SignalSample {
  int64_t timeMs = 0;     // milliseconds since 1970-01-01 UTC
  uint32_t series = 0;    // which device start the sample belongs to
  bool tuneMark = false;  // the first sample after a tune
  std::optional<bool> present, lock;
  std::optional<float> levelPct, qualityPct, rfDbm, snrDb, ber;
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
  // The device name of a series ("" for one never started).
  const std::string& Device(uint32_t series) const;
  // Index of the first sample at or after `timeMs`.
  size_t FirstAtOrAfter(int64_t timeMs) const;

 private:
  size_t capacity_;
  std::vector<SignalSample> ring_;
  size_t head_ = 0, count_ = 0;
  uint32_t series_ = 0;
  bool tunePending_ = false;
  std::vector<std::string> devices_{""};
};

// At most `buckets` samples standing for samples [first, last) of `h`: each
// bucket averages the figures it has, counts as locked only when every sample
// reporting lock was locked (a short loss stays visible), keeps any tune mark,
// and never spans two series. Fewer samples than buckets come back as they are.
std::vector<SignalSample> Decimate(const SignalHistory& h, size_t first, size_t last,
                                   size_t buckets);
