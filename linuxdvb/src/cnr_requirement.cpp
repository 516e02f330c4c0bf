#include "cnr_requirement.h"

#include <linux/dvb/frontend.h>

#include <algorithm>
#include <cmath>
#include <span>

namespace ldvb {
namespace {

struct Row {
  uint32_t modulation;
  uint32_t fec;
  double cnrDb;
};

// DVB-S, EN 300 421: the Eb/N0 its section 4.5 asks for (BER 2e-4 after Viterbi, so
// quasi-error-free after Reed-Solomon), as C/N: Eb/N0 + 10 log(2 x rate x 188/204).
constexpr Row kDvbS[] = {{QPSK, FEC_1_2, 4.1},
                         {QPSK, FEC_2_3, 5.9},
                         {QPSK, FEC_3_4, 6.9},
                         {QPSK, FEC_5_6, 7.9},
                         {QPSK, FEC_7_8, 8.5}};

// DVB-S2, EN 302 307 table 13: Es/N0 for quasi-error-free reception, 64800-bit frames.
constexpr Row kDvbS2[] = {
    {QPSK, FEC_1_2, 1.0},     {QPSK, FEC_3_5, 2.2},      {QPSK, FEC_2_3, 3.1},
    {QPSK, FEC_3_4, 4.0},     {QPSK, FEC_4_5, 4.7},      {QPSK, FEC_5_6, 5.2},
    {QPSK, FEC_8_9, 6.2},     {QPSK, FEC_9_10, 6.4},     {PSK_8, FEC_3_5, 5.5},
    {PSK_8, FEC_2_3, 6.6},    {PSK_8, FEC_3_4, 7.9},     {PSK_8, FEC_5_6, 9.4},
    {PSK_8, FEC_8_9, 10.7},   {PSK_8, FEC_9_10, 11.0},   {APSK_16, FEC_2_3, 9.0},
    {APSK_16, FEC_3_4, 10.2}, {APSK_16, FEC_4_5, 11.0},  {APSK_16, FEC_5_6, 11.6},
    {APSK_16, FEC_8_9, 12.9}, {APSK_16, FEC_9_10, 13.1}, {APSK_32, FEC_3_4, 12.7},
    {APSK_32, FEC_4_5, 13.6}, {APSK_32, FEC_5_6, 14.3},  {APSK_32, FEC_8_9, 15.7},
    {APSK_32, FEC_9_10, 16.1}};

// DVB-T, EN 300 744 table A.1: C/N for BER 2e-4 after Viterbi, Gaussian channel.
constexpr Row kDvbT[] = {{QPSK, FEC_1_2, 3.1},    {QPSK, FEC_2_3, 4.9},    {QPSK, FEC_3_4, 5.9},
                         {QPSK, FEC_5_6, 6.9},    {QPSK, FEC_7_8, 7.7},    {QAM_16, FEC_1_2, 8.8},
                         {QAM_16, FEC_2_3, 11.1}, {QAM_16, FEC_3_4, 12.5}, {QAM_16, FEC_5_6, 13.5},
                         {QAM_16, FEC_7_8, 13.9}, {QAM_64, FEC_1_2, 14.4}, {QAM_64, FEC_2_3, 16.5},
                         {QAM_64, FEC_3_4, 18.0}, {QAM_64, FEC_5_6, 19.3}, {QAM_64, FEC_7_8, 20.1}};

// DVB-T2, TR 102 831 (the implementation guidelines): C/N for BER 1e-7 after the LDPC
// decoder, Gaussian channel, 64800-bit frames.
constexpr Row kDvbT2[] = {
    {QPSK, FEC_1_2, 1.0},     {QPSK, FEC_3_5, 2.3},     {QPSK, FEC_2_3, 3.1},
    {QPSK, FEC_3_4, 4.1},     {QPSK, FEC_4_5, 4.7},     {QPSK, FEC_5_6, 5.2},
    {QAM_16, FEC_1_2, 6.2},   {QAM_16, FEC_3_5, 7.6},   {QAM_16, FEC_2_3, 8.9},
    {QAM_16, FEC_3_4, 10.0},  {QAM_16, FEC_4_5, 10.8},  {QAM_16, FEC_5_6, 11.3},
    {QAM_64, FEC_1_2, 10.5},  {QAM_64, FEC_3_5, 12.3},  {QAM_64, FEC_2_3, 13.6},
    {QAM_64, FEC_3_4, 15.1},  {QAM_64, FEC_4_5, 16.1},  {QAM_64, FEC_5_6, 16.7},
    {QAM_256, FEC_1_2, 14.4}, {QAM_256, FEC_3_5, 16.7}, {QAM_256, FEC_2_3, 18.1},
    {QAM_256, FEC_3_4, 20.0}, {QAM_256, FEC_4_5, 21.3}, {QAM_256, FEC_5_6, 22.0}};

// DVB-C, EN 300 429: no inner code; the Reed-Solomon decoder makes a BER of 2e-4 quasi
// error free. The C/N that gives 2e-4 with Gray-coded QAM in a Gaussian channel.
constexpr Row kDvbC[] = {{QAM_16, FEC_NONE, 17.8},
                         {QAM_32, FEC_NONE, 20.8},
                         {QAM_64, FEC_NONE, 23.8},
                         {QAM_128, FEC_NONE, 26.8},
                         {QAM_256, FEC_NONE, 29.8}};

struct Table {
  std::span<const Row> rows;
  uint32_t commonModulation;  // when the driver leaves it AUTO
  uint32_t commonFec;
};

std::optional<Table> TableFor(uint32_t system) {
  switch (system) {
    case SYS_DVBS:
      return Table{kDvbS, QPSK, FEC_3_4};
    case SYS_DVBS2:
      return Table{kDvbS2, PSK_8, FEC_3_4};
    case SYS_DVBT:
      return Table{kDvbT, QAM_64, FEC_2_3};
    case SYS_DVBT2:
      return Table{kDvbT2, QAM_256, FEC_2_3};
    case SYS_DVBC_ANNEX_A:
    case SYS_DVBC_ANNEX_C:
      return Table{kDvbC, QAM_64, FEC_NONE};
    default:
      return std::nullopt;
  }
}

const Row* Find(std::span<const Row> rows, uint32_t modulation, uint32_t fec) {
  for (const Row& r : rows)
    if (r.modulation == modulation && r.fec == fec) return &r;
  return nullptr;
}

}  // namespace

std::optional<double> RequiredCnrDb(uint32_t system, uint32_t modulation, uint32_t fec) {
  const std::optional<Table> t = TableFor(system);
  if (!t) return std::nullopt;
  const bool knownModulation = std::any_of(
      t->rows.begin(), t->rows.end(), [&](const Row& r) { return r.modulation == modulation; });
  if (!knownModulation) modulation = t->commonModulation;
  // DVB-S has one modulation and DVB-C no code rate: only the other field decides.
  if (system == SYS_DVBC_ANNEX_A || system == SYS_DVBC_ANNEX_C) fec = FEC_NONE;
  if (const Row* r = Find(t->rows, modulation, fec)) return r->cnrDb;
  if (const Row* r = Find(t->rows, modulation, t->commonFec)) return r->cnrDb;
  // A modulation whose rows lack the common code rate (32APSK has no 2/3): its easiest.
  for (const Row& r : t->rows)
    if (r.modulation == modulation) return r.cnrDb;
  return std::nullopt;
}

int32_t GradedQuality(double cnrDb, double requiredDb) {
  return static_cast<int32_t>(std::lround(std::clamp((cnrDb - requiredDb) * 10.0, 0.0, 100.0)));
}

}  // namespace ldvb
