// What a tuner library measures for its signal entry points, before each
// entry point picks the figures its signature carries.
#ifndef QUORVEX_TUNER_SIGNAL_FIGURES_H
#define QUORVEX_TUNER_SIGNAL_FIGURES_H

#include <cstdint>
#include <optional>

/* One measurement of the tuned carrier. */
struct SignalFigures {
  bool present = false;
  bool lock = false;
  float levelPercent = 0.0f;
  int32_t qualityPercent = 0;
  float snrDb = 0.0f;
  float ber = 1.0f;  // nothing decoded: every bit may be wrong
  /* None when the tuner cannot give an RF level in dBm (GetSignalExEx then fails). */
  std::optional<int32_t> rfLevelDbm;
};

/* The signal entry points, each of which reads the current measurement once. */
enum class SignalReader : uint32_t {
  Statistic,
  GetSignal,
  GetSignalStrength,
  GetSignalEx,
  GetSignalExEx
};

#endif
