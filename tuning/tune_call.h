// Tuning through the library: the call of the chosen entry point, and what a
// press of "Tune" does around it.
#pragma once

#include <cstdint>

#include "tuning/tune_request.h"

class UiPort;

/* Calls the library's tuning entry point `entry` with `args`; its result. */
int32_t CallTune(TuneEntry entry, const TuneArgs& args);

/* A press of "Tune": the parameter lines, the range check (an "Error" box), the call
   through the richest entry point and its outcome (a line, or an "Error" box). True when
   the library tuned. */
bool TunePress(UiPort& ui, const TuneFields& fields);
