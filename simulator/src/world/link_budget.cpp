#include "link_budget.h"

#include <algorithm>
#include <cmath>

namespace qvsim {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kLightMps = 299792458.0;
constexpr double kBoltzmannDb = -228.6;  // dBW/K/Hz

double db(double ratio) { return 10.0 * std::log10(ratio); }
double fromDb(double d) { return std::pow(10.0, d / 10.0); }

// Two noise sources in series: the thermal C/N and the demodulator's own floor.
double combineSnr(double a, double b) { return -db(fromDb(-a) + fromDb(-b)); }

struct Requirement {
  uint32_t modulation, fec;
  double snrDb;
};

// DVB-S: Eb/N0 for quasi-error-free output, as Es/N0 (QPSK, RS 188/204).
constexpr Requirement kDvbS[] = {
    {mod::Qpsk, fec::R1_2, 4.15}, {mod::Qpsk, fec::R2_3, 5.89}, {mod::Qpsk, fec::R3_4, 6.91},
    {mod::Qpsk, fec::R5_6, 7.86}, {mod::Qpsk, fec::R7_8, 8.48},
};
// DVB-S2, normal frames (ideal Es/N0, AWGN).
constexpr Requirement kDvbS2[] = {
    {mod::QpskS2, fec::R1_4, -2.35},  {mod::QpskS2, fec::R1_3, -1.24},
    {mod::QpskS2, fec::R2_5, -0.30},  {mod::QpskS2, fec::R1_2, 1.00},
    {mod::QpskS2, fec::R3_5, 2.23},   {mod::QpskS2, fec::R2_3, 3.10},
    {mod::QpskS2, fec::R3_4, 4.03},   {mod::QpskS2, fec::R4_5, 4.68},
    {mod::QpskS2, fec::R5_6, 5.18},   {mod::QpskS2, fec::R8_9, 6.20},
    {mod::QpskS2, fec::R9_10, 6.42},  {mod::Psk8, fec::R3_5, 5.50},
    {mod::Psk8, fec::R2_3, 6.62},     {mod::Psk8, fec::R3_4, 7.91},
    {mod::Psk8, fec::R5_6, 9.35},     {mod::Psk8, fec::R8_9, 10.69},
    {mod::Psk8, fec::R9_10, 10.98},   {mod::Apsk16, fec::R2_3, 8.97},
    {mod::Apsk16, fec::R3_4, 10.21},  {mod::Apsk16, fec::R4_5, 11.03},
    {mod::Apsk16, fec::R5_6, 11.61},  {mod::Apsk16, fec::R8_9, 12.89},
    {mod::Apsk16, fec::R9_10, 13.13}, {mod::Apsk32, fec::R3_4, 12.73},
    {mod::Apsk32, fec::R4_5, 13.64},  {mod::Apsk32, fec::R5_6, 14.28},
    {mod::Apsk32, fec::R8_9, 15.69},  {mod::Apsk32, fec::R9_10, 16.05},
};
// DVB-T, Gaussian channel.
constexpr Requirement kDvbT[] = {
    {mod::Qam16, fec::R1_2, 8.8},  {mod::Qam16, fec::R2_3, 11.1}, {mod::Qam16, fec::R3_4, 12.5},
    {mod::Qam16, fec::R5_6, 13.5}, {mod::Qam16, fec::R7_8, 13.9}, {mod::Qam64, fec::R1_2, 14.4},
    {mod::Qam64, fec::R2_3, 16.5}, {mod::Qam64, fec::R3_4, 18.0}, {mod::Qam64, fec::R5_6, 19.3},
    {mod::Qam64, fec::R7_8, 20.1},
};
// DVB-C (no inner code; Reed-Solomon corrects the rest), approximate.
constexpr Requirement kDvbC[] = {
    {mod::Qam16, fec::Auto, 17.0},  {mod::Qam32, fec::Auto, 20.0},  {mod::Qam64, fec::Auto, 23.0},
    {mod::Qam128, fec::Auto, 26.0}, {mod::Qam256, fec::Auto, 29.0},
};
// DVB-T2, Gaussian channel (approximate).
constexpr Requirement kDvbT2[] = {
    {mod::Qam64, fec::R2_3, 14.8},
    {mod::Qam256, fec::R3_5, 17.0},
    {mod::Qam256, fec::R2_3, 18.6},
    {mod::Qam256, fec::R3_4, 20.4},
};

template <size_t N>
double lookup(const Requirement (&table)[N], uint32_t modulation, uint32_t rate) {
  for (const Requirement& r : table) {
    if (r.modulation == modulation && r.fec == rate) return r.snrDb;
  }
  return -1.0;
}

// BCH payload of a normal DVB-S2 frame, per code rate.
int s2PayloadBits(uint32_t rate) {
  switch (rate) {
    case fec::R1_4:
      return 16008;
    case fec::R1_3:
      return 21408;
    case fec::R2_5:
      return 25728;
    case fec::R1_2:
      return 32208;
    case fec::R3_5:
      return 38688;
    case fec::R2_3:
      return 43040;
    case fec::R3_4:
      return 48408;
    case fec::R4_5:
      return 51648;
    case fec::R5_6:
      return 53840;
    case fec::R8_9:
      return 57472;
    case fec::R9_10:
      return 58192;
    default:
      return 0;
  }
}

}  // namespace

double freeSpaceLossDb(double rangeKm, double freqKHz) {
  const double lambda = kLightMps / (freqKHz * 1000.0);
  return 20.0 * std::log10(4.0 * kPi * rangeKm * 1000.0 / lambda);
}

double dishGainDbi(const Station& s, double freqKHz) {
  const double lambda = kLightMps / (freqKHz * 1000.0);
  const double x = kPi * s.dishDiameterM / lambda;
  return db(s.dishEfficiency * x * x);
}

LinkFigures satelliteLink(const Station& s, const Transponder& t) {
  const double f = t.freqKHz;
  const double carrierDbw = t.eirpDbw - freeSpaceLossDb(s.slantRangeKm, f) - s.atmosphericLossDb;
  const double gOverT = dishGainDbi(s, f) - db(s.systemNoiseK);
  const double cn = carrierDbw + gOverT - kBoltzmannDb - db(t.symbolRate);
  LinkFigures out;
  out.rfDbm = carrierDbw + dishGainDbi(s, f) + 30.0 + s.lnbGainDb - s.cableLossDb;
  out.snrDb = combineSnr(cn, s.implementationSnrDb);
  return out;
}

namespace {

// Thermal noise at the tuner in the carrier's bandwidth: the symbol rate on
// cable, the occupied 7.61 MHz of an 8 MHz terrestrial channel (in proportion
// for other widths).
double groundNoiseDbm(const Station& s, const GroundChannel& c) {
  const double hz = c.system == DeliverySystem::DvbC ? static_cast<double>(c.symbolRate)
                                                     : 7.61e6 * c.bandwidthKHz / 8000.0;
  return -174.0 + db(hz) + s.groundNoiseFigureDb;
}

// The carrier-to-noise ratio that, with the demodulator's floor, gives `snrDb`.
double carrierToNoiseFor(double snrDb, double floorDb) {
  return -db(fromDb(-snrDb) - fromDb(-floorDb));
}

}  // namespace

LinkFigures groundLink(const Station& s, const GroundChannel& c) {
  LinkFigures out;
  out.rfDbm = c.levelDbm;
  out.snrDb = combineSnr(c.levelDbm - groundNoiseDbm(s, c), implementationSnrDb(s, c.system));
  return out;
}

double implementationSnrDb(const Station& s, DeliverySystem system) {
  switch (system) {
    case DeliverySystem::DvbS:
    case DeliverySystem::DvbS2:
      return s.implementationSnrDb;
    case DeliverySystem::DvbC:
      return s.cableImplementationSnrDb;
    case DeliverySystem::DvbT:
    case DeliverySystem::DvbT2:
      break;
  }
  return s.groundImplementationSnrDb;
}

double eirpForSnr(const Station& s, double freqKHz, uint32_t symbolRate, double snrDb) {
  const double cn = carrierToNoiseFor(snrDb, s.implementationSnrDb);
  const double gOverT = dishGainDbi(s, freqKHz) - db(s.systemNoiseK);
  const double carrierDbw = cn - gOverT + kBoltzmannDb + db(symbolRate);
  return carrierDbw + freeSpaceLossDb(s.slantRangeKm, freqKHz) + s.atmosphericLossDb;
}

double groundLevelForSnr(const Station& s, const GroundChannel& c, double snrDb) {
  return groundNoiseDbm(s, c) + carrierToNoiseFor(snrDb, implementationSnrDb(s, c.system));
}

double requiredSnrDb(DeliverySystem system, uint32_t modulation, uint32_t rate) {
  switch (system) {
    case DeliverySystem::DvbS:
      return lookup(kDvbS, modulation, rate);
    case DeliverySystem::DvbS2:
      return lookup(kDvbS2, modulation, rate);
    case DeliverySystem::DvbT:
      return lookup(kDvbT, modulation, rate);
    case DeliverySystem::DvbT2:
      return lookup(kDvbT2, modulation, rate);
    case DeliverySystem::DvbC:
      return lookup(kDvbC, modulation, fec::Auto);
  }
  return -1.0;
}

double neededSnrDb(DeliverySystem system, uint32_t modulation, uint32_t rate) {
  const double need = requiredSnrDb(system, modulation, rate);
  if (need >= 0.0 || system != DeliverySystem::DvbS) return need;
  return requiredSnrDb(DeliverySystem::DvbS2, modulation, rate);
}

int bitsPerSymbol(uint32_t modulation) {
  switch (modulation) {
    case mod::Qpsk:
    case mod::QpskS2:
      return 2;
    case mod::Psk8:
      return 3;
    case mod::Apsk16:
    case mod::Qam16:
      return 4;
    case mod::Apsk32:
    case mod::Qam32:
      return 5;
    case mod::Qam64:
      return 6;
    case mod::Qam128:
      return 7;
    case mod::Qam256:
      return 8;
    default:
      return 0;
  }
}

void codeRate(uint32_t rate, int* num, int* den) {
  static const int table[][2] = {{0, 1}, {1, 2},  {2, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 7}, {7, 8},
                                 {8, 9}, {9, 10}, {1, 4}, {1, 3}, {2, 5}, {3, 5}, {5, 11}};
  const uint32_t i = rate <= fec::kLast ? rate : 0;
  *num = table[i][0];
  *den = table[i][1];
}

double rawBitErrorRate(uint32_t modulation, double snrDb) {
  const double es = fromDb(snrDb);
  const int m = bitsPerSymbol(modulation);
  if (m == 0) return 0.5;
  double ber;
  if (m == 2) {
    ber = 0.5 * std::erfc(std::sqrt(es / 2.0));
  } else if (modulation == mod::Psk8) {
    ber = std::erfc(std::sqrt(es) * std::sin(kPi / 8.0)) / 3.0;
  } else {
    // Square-QAM approximation, also used for the APSK rings.
    const double points = std::pow(2.0, m);
    ber = (2.0 / m) * (1.0 - 1.0 / std::sqrt(points)) *
          std::erfc(std::sqrt(3.0 * es / (2.0 * (points - 1.0))));
  }
  return std::clamp(ber, 0.0, 0.5);
}

double levelPercent(double rfDbm) { return std::clamp((rfDbm + 100.0) * 100.0 / 80.0, 0.0, 100.0); }

int32_t qualityPercent(double snrDb, double requiredDb) {
  return static_cast<int32_t>(std::lround(std::clamp((snrDb - requiredDb) * 10.0, 0.0, 100.0)));
}

uint64_t usefulBitrate(const Transponder& t) {
  const int bits = bitsPerSymbol(t.modulation);
  int num = 0, den = 1;
  codeRate(t.fec, &num, &den);
  if (t.system == DeliverySystem::DvbS) {
    // Convolutional code, then Reed-Solomon 204 -> 188.
    return static_cast<uint64_t>(
        std::llround(static_cast<double>(t.symbolRate) * bits * num / den * 188.0 / 204.0));
  }
  // DVB-S2 normal frame: 90 header symbols, 36 pilot symbols per 16 slots of 90.
  const int payload = s2PayloadBits(t.fec);
  if (payload == 0 || bits == 0) return 0;
  const int dataSymbols = 64800 / bits;
  const int slots = dataSymbols / 90;
  const int pilotSymbols = t.pilots ? 36 * ((slots - 1) / 16) : 0;
  const double frameSymbols = 90.0 + dataSymbols + pilotSymbols;
  return static_cast<uint64_t>(
      std::llround(static_cast<double>(t.symbolRate) * (payload - 80) / frameSymbols));
}

uint64_t usefulBitrate(const GroundChannel& c) {
  if (c.system == DeliverySystem::DvbT2) return c.t2BitrateBps;
  if (c.system == DeliverySystem::DvbC) {
    return static_cast<uint64_t>(std::llround(static_cast<double>(c.symbolRate) *
                                              bitsPerSymbol(c.modulation) * 188.0 / 204.0));
  }
  // DVB-T 8 MHz: 6048 data carriers per 896 us symbol (8k; 2k scales alike);
  // a narrower channel has its symbols as much longer.
  int num = 0, den = 1;
  codeRate(c.fec, &num, &den);
  const double symbolSeconds = 896e-6 * (1.0 + 1.0 / c.guardDenominator);
  double rate = 6048.0 * bitsPerSymbol(c.modulation) * num / den * 188.0 / 204.0 / symbolSeconds;
  if (c.bandwidthKHz != kGroundBandwidthKHz) rate *= c.bandwidthKHz / 8000.0;
  return static_cast<uint64_t>(std::llround(rate));
}

}  // namespace qvsim
