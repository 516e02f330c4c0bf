// Link budget and demodulator figures: the arithmetic behind the signal
// figures the virtual card reports. Pure functions of the sky data.
#pragma once

#include <cstdint>

#include "sky.h"

namespace qvsim {

// The receiving station: a 60 cm dish with a universal LNB, a cable to the card.
struct Station {
  double slantRangeKm = 38500.0;
  double atmosphericLossDb = 0.3;
  double dishDiameterM = 0.6;
  double dishEfficiency = 0.65;
  double systemNoiseK = 65.0;  // sky, spill-over and LNB
  double lnbGainDb = 55.0;
  double cableLossDb = 12.0;
  double groundNoiseFigureDb = 6.0;   // terrestrial tuner
  double implementationSnrDb = 20.0;  // best SNR a satellite demodulator measures
  double groundImplementationSnrDb = 32.0;
  double cableImplementationSnrDb = 40.0;  // a cable network's own floor
};

double freeSpaceLossDb(double rangeKm, double freqKHz);
double dishGainDbi(const Station& station, double freqKHz);

// Carrier at the tuner input (dBm) and its carrier-to-noise ratio in the
// symbol-rate bandwidth, as the demodulator would measure it once locked.
struct LinkFigures {
  double rfDbm;
  double snrDb;
};
LinkFigures satelliteLink(const Station& station, const Transponder& t);
LinkFigures groundLink(const Station& station, const GroundChannel& c);

// The EIRP (dBW) that gives a transponder of this frequency and symbol rate
// `snrDb` at the demodulator; `snrDb` must be below the station's
// implementation limit.
double eirpForSnr(const Station& station, double freqKHz, uint32_t symbolRate, double snrDb);
// The level at the socket (dBm) that gives a ground carrier `snrDb`.
double groundLevelForSnr(const Station& station, const GroundChannel& c, double snrDb);
// The best SNR a demodulator measures on such a carrier.
double implementationSnrDb(const Station& station, DeliverySystem system);

// The SNR (Es/N0, dB) a modulation and code rate needs for error-free
// reception; negative when the combination does not exist in that system.
double requiredSnrDb(DeliverySystem system, uint32_t modulation, uint32_t fec);

// requiredSnrDb, or for a combination its system lacks (a table's DVB-S
// carrier in 8PSK) the DVB-S2 figure; negative when neither has it.
double neededSnrDb(DeliverySystem system, uint32_t modulation, uint32_t fec);

// Bit error ratio before error correction at this SNR.
double rawBitErrorRate(uint32_t modulation, double snrDb);

// Level and quality as the card reports them in percent.
double levelPercent(double rfDbm);                        // -100 dBm -> 0 %, -20 dBm -> 100 %
int32_t qualityPercent(double snrDb, double requiredDb);  // 10 dB of margin -> 100 %

// Transport stream payload in bits per second.
uint64_t usefulBitrate(const Transponder& t);
uint64_t usefulBitrate(const GroundChannel& c);

// Bits per symbol of a modulation code (0 for AUTO or unknown).
int bitsPerSymbol(uint32_t modulation);
// Numerator and denominator of a code rate (0/1 for AUTO).
void codeRate(uint32_t fec, int* num, int* den);

}  // namespace qvsim
