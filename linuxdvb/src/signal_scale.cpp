#include "signal_scale.h"

#include <linux/dvb/frontend.h>

#include <algorithm>
#include <cmath>

#include "cnr_requirement.h"

namespace ldvb {
namespace {

int32_t Percent(double value) {
  return static_cast<int32_t>(std::lround(std::clamp(value, 0.0, 100.0)));
}

// Readings outside what any receiver can measure are a driver's noise, not a
// signal: they count as not reported.
constexpr int64_t kLowestMilliDbm = -150000, kHighestMilliDbm = 30000;
constexpr int64_t kLowestMilliDb = -50000, kHighestMilliDb = 100000;

bool InRange(const Stat& s, int64_t lo, int64_t hi) { return s.svalue >= lo && s.svalue <= hi; }

// Relative scales run from 0 to 65535.
double RelativePercent(const Stat& s) { return static_cast<double>(s.uvalue) * 100.0 / 65535.0; }

}  // namespace

int32_t LevelPercent(const Stat& strength) {
  if (strength.scale == FE_SCALE_RELATIVE) return Percent(RelativePercent(strength));
  if (strength.scale == FE_SCALE_DECIBEL && InRange(strength, kLowestMilliDbm, kHighestMilliDbm)) {
    // svalue is in thousandths of a dBm; the span covers what a receiver
    // sees from the edge of reception to a strong signal.
    const double dbm = static_cast<double>(strength.svalue) / 1000.0;
    return Percent((dbm + 90.0) * 100.0 / 60.0);
  }
  return 0;
}

int32_t QualityPercent(const Stat& cnr, std::optional<double> requiredDb) {
  if (cnr.scale == FE_SCALE_RELATIVE) return Percent(RelativePercent(cnr));
  if (cnr.scale != FE_SCALE_DECIBEL || !InRange(cnr, kLowestMilliDb, kHighestMilliDb)) return 0;
  const double db = static_cast<double>(cnr.svalue) / 1000.0;
  if (requiredDb) return GradedQuality(db, *requiredDb);
  return Percent(db * 4.0);
}

std::optional<int32_t> LevelDbm(const Stat& strength) {
  if (strength.scale != FE_SCALE_DECIBEL || !InRange(strength, kLowestMilliDbm, kHighestMilliDbm))
    return std::nullopt;
  return static_cast<int32_t>(std::lround(static_cast<double>(strength.svalue) / 1000.0));
}

std::optional<float> SnrDb(const Stat& cnr) {
  if (cnr.scale != FE_SCALE_DECIBEL || !InRange(cnr, kLowestMilliDb, kHighestMilliDb))
    return std::nullopt;
  return static_cast<float>(static_cast<double>(cnr.svalue) / 1000.0);
}

std::optional<BitCounts> CountsOf(const SignalReading& r) {
  if (r.preErrors.scale != FE_SCALE_COUNTER || r.preTotal.scale != FE_SCALE_COUNTER)
    return std::nullopt;
  return BitCounts{r.preErrors.uvalue, r.preTotal.uvalue};
}

SignalFigures Figures(const SignalReading& r) {
  SignalFigures f;
  f.lock = (r.status & FE_HAS_LOCK) != 0;
  f.present = (r.status & FE_HAS_SIGNAL) != 0;
  f.levelPercent = static_cast<float>(LevelPercent(r.strength));
  f.qualityPercent = QualityPercent(r.cnr, RequiredCnrDb(r.system, r.modulation, r.fec));
  f.rfLevelDbm = LevelDbm(r.strength);
  f.snrDb = SnrDb(r.cnr).value_or(0.0f);
  return f;
}

}  // namespace ldvb
