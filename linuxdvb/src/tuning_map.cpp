#include "tuning_map.h"

#include <linux/dvb/frontend.h>

#include <algorithm>

namespace ldvb {
namespace {

// Program list indexes (the dialog's lists, in their order).
enum ModulationIndex : uint32_t {
  kModAuto = 0,
  kModQpsk = 1,
  kMod8psk = 2,
  kMod16apsk = 3,
  kMod32apsk = 4,
  kModQpskS2 = 5,
  kModTurboQpsk = 6,
  kModTurbo8psk = 7,
  kModDirecTv = 9,
  kMod16qam = 16,
  kMod32qam = 17,
  kMod64qam = 18,
  kMod128qam = 19,
  kMod256qam = 20,
};
enum FecIndex : uint32_t { kFec4_5 = 4, kFec7_8 = 7, kFec9_10 = 9, kFec2_5 = 12, kFec3_5 = 13 };
enum PilotIndex : uint32_t { kPilotOn = 2 };
enum RollOffIndex : uint32_t { kRollOff20 = 1, kRollOff25 = 2 };

bool Has(const std::vector<uint32_t>& delsys, uint32_t s) {
  return std::find(delsys.begin(), delsys.end(), s) != delsys.end();
}

std::optional<uint32_t> FirstPresent(const std::vector<uint32_t>& delsys,
                                     std::initializer_list<uint32_t> order) {
  for (uint32_t s : order)
    if (Has(delsys, s)) return s;
  return std::nullopt;
}

// Choices that only DVB-S2 can carry.
bool NeedsS2(const TuneArgs& r) {
  switch (r.modulation) {
    case kMod8psk:
    case kMod16apsk:
    case kMod32apsk:
    case kModQpskS2:
      return true;
    default:
      break;
  }
  return r.fec == kFec9_10 || r.fec == kFec2_5 || r.fec == kFec3_5 || r.pilot == kPilotOn ||
         r.rollOff == kRollOff20 || r.rollOff == kRollOff25;
}

// What the choices say about DVB-T against DVB-T2 (EN 300 744 and EN 302 755): 256QAM,
// the code rates 3/5 and 4/5, a chosen pilot pattern ("ON") and a PLP (a stream id) exist
// only in DVB-T2; the code rate 7/8 only in DVB-T. Every other choice fits both.
struct TerrestrialDemand {
  bool t2Only;
  bool tOnly;
};

TerrestrialDemand Demand(const TuneArgs& r, uint32_t streamId) {
  const bool t2 = r.modulation == kMod256qam || r.fec == kFec3_5 || r.fec == kFec4_5 ||
                  r.pilot == kPilotOn || streamId != NO_STREAM_ID_FILTER;
  return {t2, r.fec == kFec7_8};
}

std::vector<uint32_t> TerrestrialCandidates(const std::vector<uint32_t>& delsys, const TuneArgs& r,
                                            uint32_t streamId) {
  const bool t = Has(delsys, SYS_DVBT), t2 = Has(delsys, SYS_DVBT2);
  if (!t && !t2) {
    const std::optional<uint32_t> other =
        FirstPresent(delsys, {SYS_ISDBT, SYS_ATSC, SYS_ATSCMH, SYS_DTMB});
    return other ? std::vector<uint32_t>{*other} : std::vector<uint32_t>{};
  }
  const TerrestrialDemand d = Demand(r, streamId);
  if (d.t2Only && d.tOnly) return {};
  if (d.t2Only) return t2 ? std::vector<uint32_t>{SYS_DVBT2} : std::vector<uint32_t>{};
  if (d.tOnly) return t ? std::vector<uint32_t>{SYS_DVBT} : std::vector<uint32_t>{};
  // Both fit: DVB-T first, the system of most channel files and of every DVB-T-only
  // card, then DVB-T2 (a T2 demodulator asked for DVB-T does not look for T2 frames).
  std::vector<uint32_t> out;
  if (t) out.push_back(SYS_DVBT);
  if (t2) out.push_back(SYS_DVBT2);
  return out;
}

bool CarriesStreamId(uint32_t system) {
  return system == SYS_DVBS2 || system == SYS_DVBT2 || system == SYS_ISDBS;
}

}  // namespace

std::optional<uint32_t> KernelFec(uint32_t index) {
  // 1/4, 1/3 and 5/11 have no code rate in the kernel's interface.
  static constexpr int32_t kTable[] = {FEC_AUTO, FEC_1_2, FEC_2_3, FEC_3_4, FEC_4_5,
                                       FEC_5_6,  FEC_6_7, FEC_7_8, FEC_8_9, FEC_9_10,
                                       -1,       -1,      FEC_2_5, FEC_3_5, -1};
  if (index >= std::size(kTable) || kTable[index] < 0) return std::nullopt;
  return static_cast<uint32_t>(kTable[index]);
}

std::optional<uint32_t> KernelModulation(uint32_t index) {
  switch (index) {
    case kModAuto:
      return QAM_AUTO;
    case kModQpsk:
    case kModQpskS2:
    case kModTurboQpsk:
    case kModDirecTv:
      return QPSK;
    case kMod8psk:
    case kModTurbo8psk:
      return PSK_8;
    case kMod16apsk:
      return APSK_16;
    case kMod32apsk:
      return APSK_32;
    case kMod16qam:
      return QAM_16;
    case kMod32qam:
      return QAM_32;
    case kMod64qam:
      return QAM_64;
    case kMod128qam:
      return QAM_128;
    case kMod256qam:
      return QAM_256;
    default:  // Turbo 16PSK, BPSK, OQPSK and the DCII modes: no kernel system carries them.
      return std::nullopt;
  }
}

std::optional<uint32_t> KernelInversion(uint32_t index) {
  static constexpr uint32_t kTable[] = {INVERSION_AUTO, INVERSION_OFF, INVERSION_ON};
  if (index >= std::size(kTable)) return std::nullopt;
  return kTable[index];
}

std::optional<uint32_t> KernelPilot(uint32_t index) {
  static constexpr uint32_t kTable[] = {PILOT_AUTO, PILOT_OFF, PILOT_ON};
  if (index >= std::size(kTable)) return std::nullopt;
  return kTable[index];
}

std::optional<uint32_t> KernelRollOff(uint32_t index) {
  static constexpr uint32_t kTable[] = {ROLLOFF_AUTO, ROLLOFF_20, ROLLOFF_25, ROLLOFF_35};
  if (index >= std::size(kTable)) return std::nullopt;
  return kTable[index];
}

std::optional<LnbControl> SatelliteLnb(const TuneArgs& r) {
  // The high band needs a high oscillator and a switch frequency; the
  // transponder belongs to it when it lies above the switch frequency, the
  // same rule the program uses for the band bit of its switch commands.
  const bool high = r.lofHighKHz != 0 && r.lofSwitchKHz != 0 && r.freqKHz > r.lofSwitchKHz;
  const uint32_t lof = high ? r.lofHighKHz : r.lofLowKHz;
  // A C-band oscillator lies above the transponder; no oscillator at all
  // means the frequency is already the intermediate one.
  const uint32_t intermediate = r.freqKHz >= lof ? r.freqKHz - lof : lof - r.freqKHz;
  if (intermediate == 0) return std::nullopt;
  // H/L is list index 0, V/R index 1.
  return LnbControl{intermediate, high, r.pol == 0};
}

std::vector<uint32_t> CandidateSystems(Family family, const std::vector<uint32_t>& delsys,
                                       const TuneArgs& r, uint32_t streamId) {
  std::optional<uint32_t> one;
  switch (family) {
    case Family::Satellite:
      if (r.modulation == kModTurboQpsk || r.modulation == kModTurbo8psk)
        one = FirstPresent(delsys, {SYS_TURBO});
      else if (r.modulation == kModDirecTv)
        one = FirstPresent(delsys, {SYS_DSS});
      // QPSK and AUTO mean DVB-S; the list has "QPSK-S2" for a DVB-S2 QPSK carrier.
      else if (NeedsS2(r))
        one = FirstPresent(delsys, {SYS_DVBS2});
      else
        one = FirstPresent(delsys, {SYS_DVBS, SYS_DVBS2, SYS_ISDBS, SYS_TURBO, SYS_DSS});
      break;
    case Family::Terrestrial:
      return TerrestrialCandidates(delsys, r, streamId);
    case Family::Cable:
      one = FirstPresent(delsys, {SYS_DVBC_ANNEX_A, SYS_DVBC_ANNEX_C, SYS_DVBC_ANNEX_B, SYS_ISDBC});
      break;
  }
  return one ? std::vector<uint32_t>{*one} : std::vector<uint32_t>{};
}

std::optional<uint32_t> DeliverySystemFor(Family family, const std::vector<uint32_t>& delsys,
                                          const TuneArgs& r, uint32_t streamId) {
  const std::vector<uint32_t> c = CandidateSystems(family, delsys, r, streamId);
  if (c.empty()) return std::nullopt;
  return c.front();
}

uint32_t TerrestrialBandwidthHz(uint32_t symbolRateField, uint32_t freqKHz) {
  switch (symbolRateField) {
    case 1712:
    case 5000:
    case 6000:
    case 7000:
    case 8000:
    case 10000:
      return symbolRateField * 1000;
    default:
      break;
  }
  // The European channel plan (GE06), as dtv-scan-tables' European files carry it:
  // 7 MHz channels in VHF (band III, 174-230 MHz), 8 MHz in UHF (470-862 MHz).
  return freqKHz < 300000 ? 7000000 : 8000000;
}

std::optional<std::vector<Property>> TuneProperties(Family family,
                                                    const std::vector<uint32_t>& delsys,
                                                    const TuneArgs& r, uint32_t streamId) {
  const std::optional<uint32_t> system = DeliverySystemFor(family, delsys, r, streamId);
  if (!system) return std::nullopt;
  return TunePropertiesFor(family, *system, r, streamId);
}

std::optional<std::vector<Property>> TunePropertiesFor(Family family, uint32_t system,
                                                       const TuneArgs& r, uint32_t streamId) {
  const std::optional<uint32_t> fec = KernelFec(r.fec);
  std::optional<uint32_t> modulation = KernelModulation(r.modulation);
  const std::optional<uint32_t> inversion = KernelInversion(r.inversion);
  const std::optional<uint32_t> pilot = KernelPilot(r.pilot);
  const std::optional<uint32_t> rollOff = KernelRollOff(r.rollOff);
  if (!fec || !modulation || !inversion || !pilot || !rollOff) return std::nullopt;
  // DVB-S has one modulation; drivers expect to be told it rather than AUTO.
  if (system == SYS_DVBS && *modulation == QAM_AUTO) modulation = QPSK;

  std::vector<Property> p{{DTV_CLEAR, 0}, {DTV_DELIVERY_SYSTEM, system}};
  switch (family) {
    case Family::Satellite: {
      const std::optional<LnbControl> lnb = SatelliteLnb(r);
      if (!lnb) return std::nullopt;
      p.push_back({DTV_VOLTAGE, lnb->horizontal ? SEC_VOLTAGE_18 : SEC_VOLTAGE_13});
      p.push_back({DTV_TONE, lnb->highBand ? SEC_TONE_ON : SEC_TONE_OFF});
      p.push_back({DTV_FREQUENCY, lnb->intermediateKHz});
      p.push_back({DTV_SYMBOL_RATE, r.symbolRate});
      p.push_back({DTV_INNER_FEC, *fec});
      p.push_back({DTV_MODULATION, *modulation});
      p.push_back({DTV_INVERSION, *inversion});
      if (system == SYS_DVBS2) {
        p.push_back({DTV_PILOT, *pilot});
        p.push_back({DTV_ROLLOFF, *rollOff});
      }
      break;
    }
    case Family::Terrestrial:
      if (r.freqKHz > UINT32_MAX / 1000) return std::nullopt;
      p.push_back({DTV_FREQUENCY, r.freqKHz * 1000});
      p.push_back({DTV_BANDWIDTH_HZ, TerrestrialBandwidthHz(r.symbolRate / 1000, r.freqKHz)});
      p.push_back({DTV_CODE_RATE_HP, *fec});
      p.push_back({DTV_CODE_RATE_LP, FEC_AUTO});
      p.push_back({DTV_MODULATION, *modulation});
      p.push_back({DTV_TRANSMISSION_MODE, TRANSMISSION_MODE_AUTO});
      p.push_back({DTV_GUARD_INTERVAL, GUARD_INTERVAL_AUTO});
      p.push_back({DTV_HIERARCHY, HIERARCHY_AUTO});
      p.push_back({DTV_INVERSION, *inversion});
      break;
    case Family::Cable:
      if (r.freqKHz > UINT32_MAX / 1000) return std::nullopt;
      p.push_back({DTV_FREQUENCY, r.freqKHz * 1000});
      p.push_back({DTV_SYMBOL_RATE, r.symbolRate});
      p.push_back({DTV_INNER_FEC, *fec});
      p.push_back({DTV_MODULATION, *modulation});
      p.push_back({DTV_INVERSION, *inversion});
      break;
  }
  if (CarriesStreamId(system)) p.push_back({DTV_STREAM_ID, streamId});
  p.push_back({DTV_TUNE, 0});
  return p;
}

}  // namespace ldvb
