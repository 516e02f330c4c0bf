// A sky built from libdvbv5 channel files: each file's satellite entries
// become one satellite named after the file, its terrestrial and cable
// entries the ground channels. The files give frequencies and choices; the
// card gives every carrier the power that locks it with a margin over what
// its modulation and code rate need, so a sweep of a real table locks every
// transponder the virtual dish and aerial can receive.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <tuple>

#include "channels/channel_entry.h"
#include "input_file.h"
#include "link_budget.h"
#include "sky.h"
#include "world.h"

namespace qvsim {
namespace {

using channels::ChannelEntry;
using channels::Family;
namespace ch = channels;

// Above what the carrier needs; more than the measurement noise can take away.
constexpr double kSatelliteMarginDb = 3.0;
constexpr double kGroundMarginDb = 6.0;
// The best SNR is the demodulator's own; a target this close to it is capped.
constexpr double kBelowImplementationDb = 1.0;
// DVB-T2: data cells per second of an 8 MHz channel (32k, guard 1/128).
constexpr double kT2CellsPerSecond = 7.0e6;

// The sim's modulation and FEC codes are the program's list indexes.
uint32_t ModulationCode(const ChannelEntry& e, uint32_t fallback) {
  if (!e.modulation) return fallback;
  switch (*e.modulation) {
    case ch::Modulation::Qpsk:
      return e.system == ch::DeliverySystem::DvbS2 ? mod::QpskS2 : mod::Qpsk;
    case ch::Modulation::Psk8:
      return mod::Psk8;
    case ch::Modulation::Apsk16:
      return mod::Apsk16;
    case ch::Modulation::Apsk32:
      return mod::Apsk32;
    case ch::Modulation::Qam16:
      return mod::Qam16;
    case ch::Modulation::Qam32:
      return mod::Qam32;
    case ch::Modulation::Qam64:
      return mod::Qam64;
    case ch::Modulation::Qam128:
      return mod::Qam128;
    case ch::Modulation::Qam256:
      return mod::Qam256;
    default:
      return fallback;
  }
}

uint32_t FecCode(const std::optional<ch::CodeRate>& rate, uint32_t fallback) {
  if (!rate || rate->kind != ch::CodeRate::Kind::Ratio) return fallback;
  for (uint32_t code = 1; code <= fec::kLast; ++code) {
    int num = 0, den = 1;
    codeRate(code, &num, &den);
    if (rate->num == static_cast<uint32_t>(num) && rate->den == static_cast<uint32_t>(den)) {
      return code;
    }
  }
  return fallback;
}

// What the carrier needs, or a middling figure for a combination no table has.
double Needed(DeliverySystem system, uint32_t modulation, uint32_t fecCode) {
  const double need = neededSnrDb(system, modulation, fecCode);
  return need < 0.0 ? 10.0 : need;
}

double TargetSnr(double need, double margin, double implementation) {
  return std::min(need + margin, implementation - kBelowImplementationDb);
}

// "Astra-19.2E" -> 19.2, "AMC10_C-135.0W" -> -135: where a positioner finds it.
double OrbitalPosition(const std::string& name) {
  const size_t dash = name.find_last_of('-');
  if (dash == std::string::npos || name.size() < dash + 3) return 0.0;
  const char side = name.back();
  if (side != 'E' && side != 'W') return 0.0;
  char* end = nullptr;
  const std::string number = name.substr(dash + 1, name.size() - dash - 2);
  const double deg = std::strtod(number.c_str(), &end);
  if (end == number.c_str() || *end != '\0') return 0.0;
  return side == 'E' ? deg : -deg;
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Adds an entry's stream and service to a carrier's streams. An entry of
// dvbv5-scan's files is one service (its section name and SERVICE_ID); a
// scan table's entry gets a service named after the carrier.
void AddService(std::vector<Stream>& streams, const ChannelEntry& e, const std::string& label,
                uint16_t& nextServiceId) {
  const int isi = e.streamId && *e.streamId <= 0xFF ? static_cast<int>(*e.streamId) : -1;
  auto stream =
      std::find_if(streams.begin(), streams.end(), [isi](const Stream& s) { return s.isi == isi; });
  if (stream == streams.end()) stream = streams.insert(streams.end(), Stream{isi, {}});
  if (e.serviceId && *e.serviceId > 0 && *e.serviceId <= 0xFFFF) {
    const auto id = static_cast<uint16_t>(*e.serviceId);
    for (const Service& s : stream->services) {
      if (s.serviceId == id) return;
    }
    stream->services.push_back({id, e.section.name});
    return;
  }
  if (!stream->services.empty()) return;
  stream->services.push_back(
      {nextServiceId++, isi >= 0 ? label + " stream " + std::to_string(isi) : label});
}

// A multistream carrier lists only its input streams.
void DropSingleStream(std::vector<Stream>& streams) {
  if (streams.size() < 2) return;
  streams.erase(
      std::remove_if(streams.begin(), streams.end(), [](const Stream& s) { return s.isi < 0; }),
      streams.end());
}

class SkyBuilder {
 public:
  SkyBuilder() : sky_(*builtInSky()) {}

  void AddFile(const ch::ChannelFile& file, const std::string& path,
               std::vector<std::string>* notes) {
    const std::string name = BaseName(path);
    Satellite sat{name, static_cast<uint32_t>(satelliteFiles_), {}, OrbitalPosition(name)};
    int unplaced = 0, outsideLnb = 0;
    std::map<std::tuple<uint32_t, Pol, uint32_t>, size_t> transponders;
    for (const ChannelEntry& e : file.entries) {
      const Family family = ch::FamilyOf(e.system);
      if (family == Family::Satellite && AddTransponder(sat, transponders, e, name, outsideLnb)) {
        continue;
      }
      if ((family == Family::Terrestrial || family == Family::Cable) && AddGround(e, name)) {
        continue;
      }
      ++unplaced;
    }
    if (!sat.transponders.empty()) {
      for (Transponder& t : sat.transponders) DropSingleStream(t.streams);
      if (satelliteFiles_++ == 0) sky_.satellites.clear();
      sky_.satellites.push_back(std::move(sat));
    }
    if (notes && unplaced > 0) {
      notes->push_back("sky.file " + name + ": " + std::to_string(unplaced) +
                       " entries of a delivery system the virtual card does not carry (it "
                       "carries DVB-S/S2, DVB-T/T2 and DVB-C)");
    }
    if (notes && outsideLnb > 0) {
      notes->push_back("sky.file " + name + ": " + std::to_string(outsideLnb) +
                       " transponders outside the universal LNB's 10.7-12.75 GHz, never received");
    }
  }

  std::shared_ptr<const Sky> Finish() {
    for (GroundChannel& c : sky_.ground) DropSingleStream(c.streams);
    return std::make_shared<const Sky>(std::move(sky_));
  }

 private:
  bool AddTransponder(Satellite& sat, std::map<std::tuple<uint32_t, Pol, uint32_t>, size_t>& index,
                      const ChannelEntry& e, const std::string& name, int& outsideLnb) {
    const bool s2 = e.system == ch::DeliverySystem::DvbS2;
    if ((!s2 && e.system != ch::DeliverySystem::DvbS) || !e.symbolRate || *e.symbolRate == 0) {
      return false;
    }
    const Pol pol =
        e.polarization == ch::Polarization::Vertical || e.polarization == ch::Polarization::Right
            ? Pol::V
            : Pol::H;
    const auto [it, fresh] =
        index.emplace(std::make_tuple(e.frequency, pol, *e.symbolRate), sat.transponders.size());
    if (fresh) {
      Transponder t{};
      t.freqKHz = e.frequency;
      t.pol = pol;
      t.symbolRate = *e.symbolRate;
      t.system = s2 ? DeliverySystem::DvbS2 : DeliverySystem::DvbS;
      t.modulation = ModulationCode(e, s2 ? mod::Psk8 : mod::Qpsk);
      t.fec = FecCode(e.innerFec, fec::R3_4);
      t.rollOff = e.rollOff == ch::RollOff::R20   ? 1
                  : e.rollOff == ch::RollOff::R25 ? 2
                  : e.rollOff == ch::RollOff::R35 ? 3
                  : s2                            ? 1
                                                  : 3;
      t.pilots = e.pilot ? *e.pilot == ch::Switch::On : s2;
      const double need = Needed(t.system, t.modulation, t.fec);
      t.eirpDbw = eirpForSnr(station_, t.freqKHz, t.symbolRate,
                             TargetSnr(need, kSatelliteMarginDb, station_.implementationSnrDb));
      if (t.freqKHz < kLnbInputMinKHz || t.freqKHz > kLnbInputMaxKHz) ++outsideLnb;
      sat.transponders.push_back(std::move(t));
    }
    const Transponder& t = sat.transponders[it->second];
    AddService(sat.transponders[it->second].streams, e,
               name + " " + std::to_string(t.freqKHz / 1000) + (pol == Pol::H ? "H" : "V"),
               nextServiceId_);
    return true;
  }

  bool AddGround(const ChannelEntry& e, const std::string& name) {
    using DS = ch::DeliverySystem;
    if (e.system != DS::DvbT && e.system != DS::DvbT2 && e.system != DS::DvbCAnnexA &&
        e.system != DS::DvbCAnnexC) {
      return false;
    }
    const bool cable = ch::FamilyOf(e.system) == Family::Cable;
    if (cable && (!e.symbolRate || *e.symbolRate == 0)) return false;
    const uint32_t freqKHz = static_cast<uint32_t>((uint64_t{e.frequency} + 500) / 1000);
    // The files' ground channels replace the built-in ones.
    if (!groundFromFiles_) sky_.ground.clear(), groundFromFiles_ = true;
    auto c = std::find_if(sky_.ground.begin(), sky_.ground.end(),
                          [freqKHz](const GroundChannel& g) { return g.freqKHz == freqKHz; });
    if (c == sky_.ground.end()) {
      GroundChannel g{};
      g.freqKHz = freqKHz;
      g.system = cable                   ? DeliverySystem::DvbC
                 : e.system == DS::DvbT2 ? DeliverySystem::DvbT2
                                         : DeliverySystem::DvbT;
      g.modulation = ModulationCode(e, g.system == DeliverySystem::DvbT ? mod::Qam64 : mod::Qam256);
      g.fec = cable ? fec::Auto : FecCode(e.codeRateHp ? e.codeRateHp : e.innerFec, fec::R2_3);
      g.guardDenominator = GuardDenominator(e);
      g.symbolRate = cable ? *e.symbolRate : 0;
      g.bandwidthKHz = cable ? static_cast<uint32_t>(g.symbolRate * 1.15 / 1000.0)
                             : (e.bandwidthHz && *e.bandwidthHz >= 1000000 ? *e.bandwidthHz / 1000
                                                                           : kGroundBandwidthKHz);
      if (g.system == DeliverySystem::DvbT2) {
        int num = 0, den = 1;
        codeRate(g.fec, &num, &den);
        g.t2BitrateBps = static_cast<uint64_t>(kT2CellsPerSecond * g.bandwidthKHz / 8000.0 *
                                               bitsPerSymbol(g.modulation) * num / den);
      }
      const double need = Needed(g.system, g.modulation, g.fec);
      g.levelDbm = groundLevelForSnr(
          station_, g, TargetSnr(need, kGroundMarginDb, implementationSnrDb(station_, g.system)));
      c = sky_.ground.insert(sky_.ground.end(), std::move(g));
    }
    AddService(c->streams, e, name + " " + std::to_string(freqKHz / 1000) + " MHz", nextServiceId_);
    return true;
  }

  static uint32_t GuardDenominator(const ChannelEntry& e) {
    const ch::ChannelLine* g = e.section.Find("GUARD_INTERVAL");
    if (g && g->value.rfind("1/", 0) == 0) {
      const int n = std::atoi(g->value.c_str() + 2);
      if (n > 0 && n <= 128) return static_cast<uint32_t>(n);
    }
    return 8;
  }

  Sky sky_;
  Station station_;
  size_t satelliteFiles_ = 0;
  bool groundFromFiles_ = false;
  uint16_t nextServiceId_ = 0x1001;
};

}  // namespace

std::shared_ptr<const Sky> skyFromChannelFiles(const std::vector<std::string>& paths,
                                               std::string* problem,
                                               std::vector<std::string>* notes) {
  SkyBuilder builder;
  for (const std::string& path : paths) {
    std::string text;
    uintmax_t size = 0;
    std::string refused = readInputFile(path, ch::kMaxChannelFileBytes, text, size);
    if (refused.empty() && size > ch::kMaxChannelFileBytes) refused = path + " is too large";
    if (!refused.empty()) {
      if (problem) *problem = refused;
      return nullptr;
    }
    const ch::ChannelFile file = ch::ReadChannelText(path, text);
    // A line the reader cannot take might be a transponder the test expects.
    if (!file.errors.empty()) {
      if (problem) *problem = file.errors.front().Text();
      return nullptr;
    }
    builder.AddFile(file, path, notes);
  }
  return builder.Finish();
}

}  // namespace qvsim
