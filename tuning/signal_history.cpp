#include "tuning/signal_history.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

SignalHistory::SignalHistory(size_t capacity) : capacity_(std::max<size_t>(capacity, 1)) {}

void SignalHistory::StartSeries(std::string device) {
  tunePending_ = false;
  // A series without a sample has no one to name: the new one takes its place,
  // so starts that never poll cannot pile up names either.
  if (!seriesSampled_) {
    devices_.back() = std::move(device);
    return;
  }
  devices_.push_back(std::move(device));
  ++series_;
  seriesSampled_ = false;
  DropOldSeries();
}

void SignalHistory::DropOldSeries() {
  // Series numbers only grow along the ring, so the oldest sample holds the
  // oldest series still needed.
  const uint32_t needed = count_ > 0 ? std::min(At(0).series, series_) : series_;
  while (firstSeries_ < needed && devices_.size() > 1) {
    devices_.pop_front();
    ++firstSeries_;
  }
}

void SignalHistory::MarkTune() { tunePending_ = true; }

void SignalHistory::Add(SignalSample sample) {
  sample.series = series_;
  seriesSampled_ = true;
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
    DropOldSeries();
  }
}

const SignalSample& SignalHistory::At(size_t i) const { return ring_[(head_ + i) % capacity_]; }

const std::string& SignalHistory::Device(uint32_t series) const {
  static const std::string none;
  const uint32_t i = series - firstSeries_;
  return series >= firstSeries_ && i < devices_.size() ? devices_[i] : none;
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

// One NaN or infinity would make the whole bucket's mean one; the finite
// figures are averaged, and a bucket of nothing else says it had a figure that
// is not a number. The sum of a bucket of floats cannot overflow a double.
struct Mean {
  double sum = 0;
  size_t n = 0;
  bool other = false;
  void Add(const std::optional<double>& v) {
    if (!v) return;
    if (std::isfinite(*v)) {
      sum += *v, ++n;
    } else {
      other = true;
    }
  }
  std::optional<double> Get() const {
    if (n > 0) return sum / static_cast<double>(n);
    if (other) return std::numeric_limits<double>::quiet_NaN();
    return std::nullopt;
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
    Mean level, quality, rf, snr, ber, mbps;
    s.stream.reset();
    for (; i < end && i < last && h.At(i).series == s.series; ++i) {
      const SignalSample& x = h.At(i);
      if (x.stream) {
        StreamInterval& t = s.stream ? *s.stream : s.stream.emplace();
        t.packets += x.stream->packets, t.ccErrors += x.stream->ccErrors;
        t.syncLosses += x.stream->syncLosses, t.teiPackets += x.stream->teiPackets;
        mbps.Add(x.stream->mbps);
      }
      s.tuneMark = s.tuneMark || x.tuneMark;
      if (x.lock) s.lock = s.lock.value_or(true) && *x.lock;
      if (x.present) s.present = s.present.value_or(true) && *x.present;
      level.Add(x.levelPct), quality.Add(x.qualityPct), rf.Add(x.rfDbm), snr.Add(x.snrDb);
      ber.Add(x.ber);
    }
    s.levelPct = level.Get(), s.qualityPct = quality.Get(), s.rfDbm = rf.Get();
    s.snrDb = snr.Get(), s.ber = ber.Get();
    if (s.stream) s.stream->mbps = mbps.Get().value_or(0);
    out.push_back(std::move(s));
  }
  return out;
}
