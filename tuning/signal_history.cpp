#include "tuning/signal_history.h"

#include <algorithm>
#include <utility>

SignalHistory::SignalHistory(size_t capacity) : capacity_(std::max<size_t>(capacity, 1)) {}

void SignalHistory::StartSeries(std::string device) {
  devices_.push_back(std::move(device));
  series_ = static_cast<uint32_t>(devices_.size() - 1);
  tunePending_ = false;
}

void SignalHistory::MarkTune() { tunePending_ = true; }

void SignalHistory::Add(SignalSample sample) {
  sample.series = series_;
  sample.tuneMark = std::exchange(tunePending_, false);
  // The ring grows to its capacity on demand, so a short session costs little.
  if (ring_.size() < capacity_) {
    ring_.push_back(std::move(sample));
  } else {
    ring_[(head_ + count_) % capacity_] = std::move(sample);
  }
  if (count_ < capacity_) {
    ++count_;
  } else {
    head_ = (head_ + 1) % capacity_;
  }
}

const SignalSample& SignalHistory::At(size_t i) const { return ring_[(head_ + i) % capacity_]; }

const std::string& SignalHistory::Device(uint32_t series) const {
  return series < devices_.size() ? devices_[series] : devices_.front();
}

size_t SignalHistory::FirstAtOrAfter(int64_t timeMs) const {
  size_t lo = 0, hi = count_;
  while (lo < hi) {
    const size_t mid = lo + (hi - lo) / 2;
    if (At(mid).timeMs < timeMs) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return lo;
}

namespace {

struct Mean {
  double sum = 0;
  int n = 0;
  void Add(const std::optional<float>& v) {
    if (v) sum += *v, ++n;
  }
  std::optional<float> Get() const {
    return n > 0 ? std::optional<float>(static_cast<float>(sum / n)) : std::nullopt;
  }
};

}  // namespace

std::vector<SignalSample> Decimate(const SignalHistory& h, size_t first, size_t last,
                                   size_t buckets) {
  std::vector<SignalSample> out;
  last = std::min(last, h.Size());
  if (first >= last) return out;
  const size_t n = last - first;
  if (buckets == 0 || n <= buckets) {
    for (size_t i = first; i < last; ++i) out.push_back(h.At(i));
    return out;
  }
  size_t i = first;
  // A bucket cut short by a series boundary leaves the rest of its samples to
  // the next, so there may be one bucket more per boundary.
  for (size_t b = 0; i < last; ++b) {
    const size_t end = b + 1 >= buckets ? last : std::max(i + 1, first + (n * (b + 1)) / buckets);
    SignalSample s = h.At(i);
    Mean level, quality, rf, snr, ber;
    for (; i < end && i < last && h.At(i).series == s.series; ++i) {
      const SignalSample& x = h.At(i);
      s.tuneMark = s.tuneMark || x.tuneMark;
      if (x.lock) s.lock = s.lock.value_or(true) && *x.lock;
      if (x.present) s.present = s.present.value_or(true) && *x.present;
      level.Add(x.levelPct), quality.Add(x.qualityPct), rf.Add(x.rfDbm), snr.Add(x.snrDb);
      ber.Add(x.ber);
    }
    s.levelPct = level.Get(), s.qualityPct = quality.Get(), s.rfDbm = rf.Get();
    s.snrDb = snr.Get(), s.ber = ber.Get();
    out.push_back(std::move(s));
  }
  return out;
}
