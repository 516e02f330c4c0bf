// The bit error ratio as the rate between two reads of the driver's
// pre-correction counters, as libdvbv5 computes it: drivers count from their
// last reset (often only the last tune), so one read's quotient is an average
// over that whole time, not the current rate.
#ifndef QUORVEX_LINUXDVB_BER_METER_H
#define QUORVEX_LINUXDVB_BER_METER_H

#include <cstdint>
#include <optional>

namespace ldvb {

/* The pre-correction bit counters of one read. */
struct BitCounts {
  uint64_t errors = 0;
  uint64_t total = 0;
};

/* How far a counter moved between two reads, given whether the other counter of the
   pair went back too: both going back is a restart (a reset, from zero), one alone a
   wrap of its register (32 bits when both values fit, else 64). */
uint64_t CounterAdvance(uint64_t before, uint64_t now, bool otherWentBack);

/* The ratio of errors to bits counted between two reads; nullopt when no bit was
   counted in between or the pair cannot be right (more errors than bits). */
std::optional<double> BerBetween(const BitCounts& before, const BitCounts& now);

/* The running figure of one tuned transponder. */
class BerMeter {
 public:
  /* The BER after one more read (nullopt: the driver counts nothing now). The rate since
     the previous read; the last rate while nothing new was counted; with no earlier read,
     the quotient of this one (the average since the counters started). 0 without counters. */
  float Next(const std::optional<BitCounts>& read);
  /* Forgets the reads: the next one is a first read (a new tune). */
  void Reset();

 private:
  std::optional<BitCounts> previous_;
  std::optional<double> last_;
};

}  // namespace ldvb

#endif
