// Turns the kernel's signal statistics into the program's figures: percent
// for level and quality, dBm, dB and a bit error ratio.
#ifndef QUORVEX_LINUXDVB_SIGNAL_SCALE_H
#define QUORVEX_LINUXDVB_SIGNAL_SCALE_H

#include <cstdint>
#include <optional>

#include "ber_meter.h"
#include "signal_figures.h"

namespace ldvb {

/* One statistic as the kernel reports it (its first layer). */
struct Stat {
  uint8_t scale = 0;  // FE_SCALE_*
  int64_t svalue = 0;
  uint64_t uvalue = 0;
};

/* The statistics the library reads at a poll. */
struct SignalReading {
  uint32_t status = 0;  // FE_HAS_* bits
  Stat strength;
  Stat cnr;
  Stat preErrors;
  Stat preTotal;
  // The tuning as the driver reports it (0 each when it does not), for the C/N the
  // carrier needs.
  uint32_t system = 0;      // SYS_*
  uint32_t modulation = 0;  // QPSK, QAM_*, ...
  uint32_t fec = 0;         // FEC_*: the inner code rate, the high-priority one for DVB-T
};

/* Level in percent from a relative strength, or from dBm: -90 dBm is 0 %, -30 dBm 100 %. */
int32_t LevelPercent(const Stat& strength);
/* Quality in percent from a relative CNR, or from dB graded against the C/N the carrier
   needs (cnr_requirement.h); without that figure 0 dB is 0 %, 25 dB 100 %. */
int32_t QualityPercent(const Stat& cnr, std::optional<double> requiredDb = std::nullopt);
/* RF level in whole dBm; nullopt when the driver gives no decibel figure, or one no
   receiver could measure (outside -150..+30 dBm). */
std::optional<int32_t> LevelDbm(const Stat& strength);
/* SNR in dB; nullopt when the driver gives no decibel figure, or one outside -50..100 dB. */
std::optional<float> SnrDb(const Stat& cnr);
/* The pre-correction counters of a reading; nullopt unless the driver counts both. */
std::optional<BitCounts> CountsOf(const SignalReading& r);
/* Every figure of one poll but the BER, which needs the reads before (BerMeter). */
SignalFigures Figures(const SignalReading& r);

}  // namespace ldvb

#endif
