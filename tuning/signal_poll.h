// One poll of the signal: the library's figures through the richest entry
// points it exports, into the "Signal statistics" group and a sample.
#pragma once

#include "tuning/signal_history.h"

class UiPort;

/* Level and quality (with the Present and Lock boxes), then RF level, SNR and BER where
   their controls are enabled: into the group when `show`, and into `sample` as the group
   shows them. The two are independent: neither gates the other. */
void PollSignal(UiPort& ui, SignalSample& sample, bool show);
