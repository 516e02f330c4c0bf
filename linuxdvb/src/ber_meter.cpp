#include "ber_meter.h"

#include <algorithm>
#include <limits>

namespace ldvb {

uint64_t CounterAdvance(uint64_t before, uint64_t now, bool otherWentBack) {
  if (now >= before) return now - before;
  // A reset zeroes both counters of the pair: what is there now was counted since.
  if (otherWentBack) return now;
  constexpr uint64_t k32 = std::numeric_limits<uint32_t>::max();
  if (before <= k32) return now + (k32 + 1) - before;
  return now - before;  // unsigned arithmetic: a 64-bit wrap
}

std::optional<double> BerBetween(const BitCounts& before, const BitCounts& now) {
  const bool errorsBack = now.errors < before.errors, totalBack = now.total < before.total;
  const uint64_t errors = CounterAdvance(before.errors, now.errors, totalBack);
  const uint64_t total = CounterAdvance(before.total, now.total, errorsBack);
  if (total == 0 || errors > total) return std::nullopt;
  return static_cast<double>(errors) / static_cast<double>(total);
}

namespace {

std::optional<double> Quotient(const BitCounts& c) {
  if (c.total == 0) return std::nullopt;
  return std::min(1.0, static_cast<double>(c.errors) / static_cast<double>(c.total));
}

}  // namespace

float BerMeter::Next(const std::optional<BitCounts>& read) {
  if (!read) {
    // Counters not available (no lock): the next figure starts afresh.
    Reset();
    return 0.0f;
  }
  std::optional<double> rate;
  if (previous_) rate = BerBetween(*previous_, *read);
  if (!rate) rate = last_ ? last_ : Quotient(*read);
  previous_ = read;
  last_ = rate;
  return static_cast<float>(rate.value_or(0.0));
}

void BerMeter::Reset() {
  previous_.reset();
  last_.reset();
}

}  // namespace ldvb
