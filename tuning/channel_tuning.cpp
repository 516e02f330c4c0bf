#include "tuning/channel_tuning.h"

#include <initializer_list>

namespace {

using channels::ChannelEntry;
using channels::ChannelError;
using channels::CodeRate;
using channels::DeliverySystem;
using channels::Family;
using channels::Modulation;

// The dialog's list indexes (res/dialogs.cpp).
constexpr int32_t kPolHL = 0, kPolVR = 1;
constexpr int32_t kModAuto = 0, kModQpsk = 1, kMod8psk = 2, kMod16apsk = 3, kMod32apsk = 4,
                  kModQpskS2 = 5, kModTurboQpsk = 6, kModTurbo8psk = 7, kModDirecTv = 9,
                  kMod16qam = 16;
constexpr int32_t kSwitchAuto = 0, kSwitchOff = 1, kSwitchOn = 2;

// The FEC list: AUTO, 1/2 .. 9/10, then 1/4, 1/3, 2/5, 3/5, 5/11.
constexpr struct {
  uint32_t num, den;
  int32_t index;
} kFecList[] = {{1, 2, 1}, {2, 3, 2},  {3, 4, 3},  {4, 5, 4},  {5, 6, 5},  {6, 7, 6},  {7, 8, 7},
                {8, 9, 8}, {9, 10, 9}, {1, 4, 10}, {1, 3, 11}, {2, 5, 12}, {3, 5, 13}, {5, 11, 14}};

// Satellite frequencies are kHz: a value below 1 GHz was written in MHz or
// is not a satellite's; the others are Hz.
constexpr uint32_t kMinSatelliteKHz = 1000000, kMaxSatelliteKHz = 40000000;
constexpr uint32_t kMinGroundHz = 30000000, kMaxGroundHz = 3000000000u;
// Below any DVB carrier: a symbol rate written in kS/s.
constexpr uint32_t kMinSymbolRate = 100000;

uint32_t RoundThousands(uint32_t v) { return static_cast<uint32_t>((uint64_t{v} + 500) / 1000); }

class Mapper {
 public:
  Mapper(const ChannelEntry& e, const LnbValues& lnb) : e_(e) {
    t_.fields.lofLow = lnb.low;
    t_.fields.lofHigh = lnb.high;
    t_.fields.lofSwitch = lnb.lofSwitch;
  }

  std::variant<ChannelTuning, ChannelError> Map() {
    const Family family = channels::FamilyOf(e_.system);
    if (family == Family::Other) {
      return e_.Error("DELIVERY_SYSTEM", std::string(channels::DeliverySystemName(e_.system)) +
                                             ": the dialog has no tuning fields for it");
    }
    const bool ok = Frequency(family) && Polarisation(family) && SymbolRate(family) &&
                    Fec(family) && ModulationIndex() && Switches() && RollOffIndex() && Stream();
    if (!ok) return *error_;
    return t_;
  }

 private:
  bool Fail(const char* key, std::string what) {
    error_ = e_.Error(key, std::move(what));
    return false;
  }

  bool Frequency(Family family) {
    const uint32_t f = e_.frequency;
    const std::string given = std::to_string(f);
    if (family == Family::Satellite) {
      if (f < kMinSatelliteKHz || f > kMaxSatelliteKHz) {
        return Fail("FREQUENCY", given +
                                     " kHz is outside every satellite band (1 to 40 GHz; "
                                     "satellite frequencies are given in kHz)");
      }
      t_.freqKHz = f;
    } else {
      if (f < kMinGroundHz || f > kMaxGroundHz) {
        return Fail("FREQUENCY", given +
                                     " Hz is outside every terrestrial and cable band "
                                     "(30 MHz to 3 GHz; these frequencies are given in Hz)");
      }
      t_.freqKHz = RoundThousands(f);
    }
    t_.fields.freq = RoundThousands(t_.freqKHz);
    return true;
  }

  bool Polarisation(Family family) {
    if (family != Family::Satellite) return true;
    if (!e_.polarization) return Fail("POLARIZATION", "missing");
    switch (*e_.polarization) {
      case channels::Polarization::Horizontal:
      case channels::Polarization::Left:
        t_.fields.pol = kPolHL;
        return true;
      case channels::Polarization::Vertical:
      case channels::Polarization::Right:
        t_.fields.pol = kPolVR;
        return true;
      case channels::Polarization::Off:
        break;
    }
    return Fail("POLARIZATION", "OFF: the dialog's list has H/L and V/R only");
  }

  bool SymbolRate(Family family) {
    uint32_t rate = 0;
    if (family == Family::Terrestrial) {
      rate = e_.bandwidthHz.value_or(0);
    } else if (!e_.symbolRate) {
      // North American cable has its symbol rate fixed by the standard.
      if (e_.system == DeliverySystem::DvbCAnnexB) return true;
      return Fail("SYMBOL_RATE", "missing");
    } else {
      rate = *e_.symbolRate;
      if (rate < kMinSymbolRate) {
        return Fail("SYMBOL_RATE", std::to_string(rate) +
                                       " is below any carrier's symbol rate (the format gives "
                                       "symbols per second)");
      }
    }
    t_.fields.symRate = RoundThousands(rate);
    t_.symbolRate = rate;
    return true;
  }

  bool Fec(Family family) {
    const char* key = "INNER_FEC";
    std::optional<CodeRate> rate = e_.innerFec;
    if (family == Family::Terrestrial && e_.codeRateHp) key = "CODE_RATE_HP", rate = e_.codeRateHp;
    if (!rate || rate->kind != CodeRate::Kind::Ratio) return true;  // AUTO
    for (const auto& f : kFecList) {
      if (f.num == rate->num && f.den == rate->den) {
        t_.fields.fec = f.index;
        return true;
      }
    }
    return Fail(key, rate->Text() + ": the dialog's FEC list has no such rate");
  }

  bool ModulationIndex() {
    if (!e_.modulation) return true;  // AUTO
    const Modulation m = *e_.modulation;
    const DeliverySystem s = e_.system;
    int32_t index = -1;
    switch (m) {
      case Modulation::QamAuto:
        index = kModAuto;
        break;
      case Modulation::Qpsk:
        index = s == DeliverySystem::DvbS2   ? kModQpskS2
                : s == DeliverySystem::Turbo ? kModTurboQpsk
                : s == DeliverySystem::Dss   ? kModDirecTv
                                             : kModQpsk;
        break;
      case Modulation::Psk8:
        index = s == DeliverySystem::Turbo ? kModTurbo8psk : kMod8psk;
        break;
      case Modulation::Apsk16:
        index = kMod16apsk;
        break;
      case Modulation::Apsk32:
        index = kMod32apsk;
        break;
      case Modulation::Qam16:
      case Modulation::Qam32:
      case Modulation::Qam64:
      case Modulation::Qam128:
      case Modulation::Qam256:
        index = kMod16qam + (static_cast<int32_t>(m) - static_cast<int32_t>(Modulation::Qam16));
        break;
      case Modulation::Vsb8:
        if (s == DeliverySystem::Atsc || s == DeliverySystem::AtscMh) index = kModAuto;
        break;
      default:
        break;
    }
    if (index < 0) {
      return Fail("MODULATION", std::string(channels::ModulationName(m)) +
                                    ": the dialog's modulation list has no such entry");
    }
    t_.fields.modulation = index;
    return true;
  }

  static int32_t SwitchIndex(std::optional<channels::Switch> s) {
    if (!s || *s == channels::Switch::Auto) return kSwitchAuto;
    return *s == channels::Switch::On ? kSwitchOn : kSwitchOff;
  }

  bool Switches() {
    t_.fields.inversion = SwitchIndex(e_.inversion);
    t_.fields.pilot = SwitchIndex(e_.pilot);
    return true;
  }

  bool RollOffIndex() {
    using channels::RollOff;
    if (!e_.rollOff) return true;
    switch (*e_.rollOff) {
      case RollOff::Auto:
        return true;
      case RollOff::R20:
        t_.fields.rollOff = 1;
        return true;
      case RollOff::R25:
        t_.fields.rollOff = 2;
        return true;
      case RollOff::R35:
        t_.fields.rollOff = 3;
        return true;
      default:
        break;
    }
    const char* names[] = {"35", "20", "25", "AUTO", "15", "10", "5"};
    return Fail("ROLLOFF", std::string(names[static_cast<int>(*e_.rollOff)]) +
                               ": the dialog's list has 0.20, 0.25 and 0.35 only");
  }

  bool Stream() {
    if (!e_.streamId || *e_.streamId == channels::kNoStreamId) return true;
    if (*e_.streamId > 0xFF) {
      return Fail("STREAM_ID", std::to_string(*e_.streamId) +
                                   " holds more than an 8-bit stream id (a PLS code above bit "
                                   "7); the dialog selects 8-bit ids only");
    }
    t_.streamId = static_cast<uint8_t>(*e_.streamId);
    return true;
  }

  const ChannelEntry& e_;
  ChannelTuning t_;
  std::optional<ChannelError> error_;
};

}  // namespace

std::variant<ChannelTuning, ChannelError> ChannelTuningFor(const ChannelEntry& entry,
                                                           const LnbValues& lnb) {
  return Mapper(entry, lnb).Map();
}

TuneArgs ChannelTuneArgs(const ChannelTuning& tuning) {
  TuneArgs a = TuneArgsFor(tuning.fields);
  a.freqKHz = tuning.freqKHz;
  a.symbolRate = tuning.symbolRate;
  return a;
}

bool TunerTypeReceives(uint32_t tunerType, DeliverySystem system) {
  using DS = DeliverySystem;
  auto any = [system](std::initializer_list<DS> systems) {
    for (DS s : systems) {
      if (s == system) return true;
    }
    return false;
  };
  switch (tunerType) {
    case 1:
      return any({DS::DvbS});
    case 2:
      return any({DS::DvbS, DS::DvbS2});
    case 3:
      return any({DS::Dss});
    case 4:
      return any({DS::Turbo, DS::DvbS});
    case 5:  // DigiCipher II tuners take DVB-S as well
      return any({DS::DvbS});
    case 6:
      return any({DS::DvbT});
    case 7:
      return any({DS::DvbT, DS::DvbT2});
    case 8:
      return any({DS::DvbCAnnexA, DS::DvbCAnnexC});
    case 9:
      return any({DS::DvbCAnnexA, DS::DvbCAnnexC, DS::DvbC2});
    case 10:
      return any({DS::Atsc, DS::AtscMh, DS::DvbCAnnexB});
    case 11:
      return any({DS::IsdbT});
    case 12:
      return any({DS::IsdbS});
    default:
      return true;
  }
}
