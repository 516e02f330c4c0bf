// The arguments of the tuning entry points, as the program passes them and the
// libraries receive them: kHz, symbols per second, list indexes as they are.
#ifndef QUORVEX_TUNER_TUNE_ARGS_H
#define QUORVEX_TUNER_TUNE_ARGS_H

#include <cstdint>

/* One tuning request; the fields a poorer entry point lacks stay 0. */
struct TuneArgs {
  uint32_t freqKHz = 0, symbolRate = 0, pol = 0, fec = 0;
  uint32_t lofLowKHz = 0, lofHighKHz = 0, lofSwitchKHz = 0;
  uint32_t modulation = 0, inversion = 0, pilot = 0, rollOff = 0;
};

#endif
