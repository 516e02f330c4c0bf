#include "sky.h"

#include "config.h"

namespace qvsim {
namespace {

using DS = DeliverySystem;
constexpr Pol H = Pol::H;
constexpr Pol V = Pol::V;
constexpr bool kPilots = true, kNoPilots = false;

// One stream on a single-stream carrier.
std::vector<Stream> one(std::vector<Service> services) { return {{-1, std::move(services)}}; }

Transponder tp(uint32_t mhz, Pol pol, uint32_t ksym, DS system, uint32_t modulation, uint32_t rate,
               uint32_t rollOff, bool pilots, double eirpDbw, std::vector<Stream> streams) {
  return {mhz * 1000, pol,     ksym * 1000, system,  modulation,
          rate,       rollOff, pilots,      eirpDbw, std::move(streams)};
}

// Roll-off codes.
constexpr uint32_t r20 = 1, r25 = 2, r35 = 3;

std::vector<Satellite> buildSatellites() {
  using namespace mod;
  using namespace fec;
  // clang-format off
  return {
    {"VirtuSat 19.2E", 0, {
      //  MHz    pol  kS/s  system     modulation  FEC    roll  pilots     EIRP  streams
      tp(10722, H, 27500, DS::DvbS2, Psk8,   R3_4, r20, kPilots,   52.0, one({{1101, "Virtual One HD"}, {1102, "Virtual Two HD"}, {1103, "Virtual Kids HD"}})),
      tp(10744, V, 22000, DS::DvbS,  Qpsk,   R5_6, r35, kNoPilots, 51.0, one({{1201, "Radio Virtual 1"}, {1202, "Radio Virtual 2"}, {1203, "Virtual Info"}})),
      tp(10758, H, 27500, DS::DvbS,  Qpsk,   R3_4, r35, kNoPilots, 51.5, one({{1301, "Virtual News"}, {1302, "Virtual Weather"}})),
      tp(10788, V, 22000, DS::DvbS,  Qpsk,   R5_6, r35, kNoPilots, 50.5, one({{1401, "Virtual Shopping"}})),
      tp(11229, V, 22000, DS::DvbS2, Psk8,   R2_3, r20, kPilots,   51.0, one({{1501, "Virtual Sport HD"}, {1502, "Virtual Sport 2 HD"}})),
      tp(11778, V, 27500, DS::DvbS,  Qpsk,   R2_3, r35, kNoPilots, 52.5, one({{1601, "Virtual Movies"}, {1602, "Virtual Classics"}, {1603, "Virtual Music"}})),
      tp(11836, H, 29700, DS::DvbS2, Psk8,   R5_6, r20, kPilots,   52.0, one({{1701, "Virtual UHD"}})),
      tp(12188, H, 27500, DS::DvbS2, Psk8,   R3_4, r20, kPilots,   51.5, {{1, {{1801, "Feed Alpha"}}},
                                                                          {2, {{1811, "Feed Bravo"}, {1812, "Feed Bravo 2"}}},
                                                                          {3, {{1821, "Feed Charlie"}}}}),
      tp(12603, H, 22000, DS::DvbS,  Qpsk,   R5_6, r35, kNoPilots, 51.0, one({{1901, "Virtual Regional"}})),
    }, 19.2},
    {"VirtuSat 13.0E", 1, {
      tp(10722, V, 29900, DS::DvbS2, Psk8,   R3_4, r20, kPilots,   53.0, one({{2101, "Canale Virtuale HD"}, {2102, "Canale Due HD"}})),
      tp(10853, H, 29900, DS::DvbS2, QpskS2, R3_4, r20, kPilots,   52.0, one({{2201, "Virtual Documentary"}})),
      tp(11200, V, 27500, DS::DvbS,  Qpsk,   R5_6, r35, kNoPilots, 51.5, one({{2301, "Virtual Europe"}, {2302, "Virtual Europe 2"}})),
      tp(11804, V, 27500, DS::DvbS,  Qpsk,   R2_3, r35, kNoPilots, 52.0, one({{2401, "Virtual Music 24"}})),
      tp(12130, V, 27500, DS::DvbS2, Apsk16, R2_3, r20, kPilots,   53.5, {{5, {{2501, "Contribution A"}}},
                                                                          {6, {{2511, "Contribution B"}}},
                                                                          {10, {{2521, "Contribution C"}, {2522, "Contribution C2"}}}}),
      tp(12597, V, 27500, DS::DvbS,  Qpsk,   R3_4, r35, kNoPilots, 51.0, one({{2601, "Virtual Arabia"}})),
    }, 13.0},
    {"VirtuSat 23.5E", 2, {
      tp(10758, V, 22000, DS::DvbS,  Qpsk,   R3_4, r35, kNoPilots, 50.0, one({{3101, "Virtual Central"}})),
      tp(11739, H, 27500, DS::DvbS2, Psk8,   R2_3, r20, kPilots,   51.0, one({{3201, "Virtual Czech HD"}, {3202, "Virtual Slovak HD"}})),
      // A spot beam: too weak for its modulation here, so it shows without locking.
      tp(12525, V, 27500, DS::DvbS2, Apsk32, R5_6, r20, kPilots,   45.0, one({{3301, "Virtual Spot"}})),
    }, 23.5},
    {"VirtuSat 28.2E", 3, {
      tp(10722, H, 22000, DS::DvbS,  Qpsk,   R5_6, r35, kNoPilots, 50.5, one({{4101, "Virtual Isles One"}, {4102, "Virtual Isles Two"}})),
      tp(10847, V, 23000, DS::DvbS2, Psk8,   R8_9, r20, kPilots,   52.5, one({{4201, "Virtual Isles HD"}})),
      tp(11426, H, 27500, DS::DvbS,  Qpsk,   R2_3, r35, kNoPilots, 51.0, one({{4301, "Virtual Isles Radio"}})),
    }, 28.2},
  };
  // clang-format on
}

GroundChannel ch(uint32_t mhz, DS system, uint32_t modulation, uint32_t rate, uint32_t guard,
                 double levelDbm, uint64_t t2Bitrate, std::vector<Service> services) {
  return {mhz * 1000,
          system,
          modulation,
          rate,
          guard,
          levelDbm,
          t2Bitrate,
          one(std::move(services)),
          kGroundBandwidthKHz,
          0};
}

std::vector<GroundChannel> buildGround() {
  using namespace mod;
  using namespace fec;
  // clang-format off
  return {
    // MHz   system     modulation FEC  guard  level dBm  T2 payload  services
    ch(474, DS::DvbT2, Qam256, R2_3, 128, -52.0, 40200000, {{5101, "Virtual T2 One HD"}, {5102, "Virtual T2 Two HD"}, {5103, "Virtual T2 News HD"}}),
    ch(482, DS::DvbT,  Qam64,  R2_3,   4, -58.0, 0,        {{5201, "Virtual One"}, {5202, "Virtual Two"}, {5203, "Virtual Three"}, {5204, "Virtual Kids"}}),
    ch(490, DS::DvbT,  Qam64,  R3_4,   8, -61.0, 0,        {{5301, "Virtual Regional"}, {5302, "Virtual Radio"}}),
    ch(522, DS::DvbT2, Qam256, R3_5,  16, -63.0, 33200000, {{5401, "Virtual T2 Sport HD"}}),
    ch(546, DS::DvbT,  Qam16,  R2_3,   4, -70.0, 0,        {{5501, "Virtual Local"}}),
    ch(626, DS::DvbT,  Qam64,  R2_3,   4, -55.0, 0,        {{5601, "Virtual Shopping"}, {5602, "Virtual Music"}}),
    ch(690, DS::DvbT,  Qam64,  R2_3,   8, -74.0, 0,        {{5701, "Virtual Faraway"}}),
  };
  // clang-format on
}

}  // namespace

const char* skyInputName(uint32_t input) {
  static const char* const names[kSkyInputCount] = {"PosA/OptA", "PosB/OptA", "PosA/OptB",
                                                    "PosB/OptB"};
  return input < kSkyInputCount ? names[input] : "?";
}

std::shared_ptr<const Sky> builtInSky() {
  static const std::shared_ptr<const Sky> sky =
      std::make_shared<const Sky>(Sky{buildSatellites(), buildGround()});
  return sky;
}

const std::vector<Satellite>& satellites() { return builtInSky()->satellites; }

const std::vector<GroundChannel>& groundChannels() { return builtInSky()->ground; }

const Satellite* satelliteOnInput(const Sky& sky, uint32_t input) {
  for (const Satellite& s : sky.satellites) {
    if (s.input == input) return &s;
  }
  return nullptr;
}

const Satellite* satelliteNamed(const Sky& sky, const std::string& name) {
  for (const Satellite& s : sky.satellites) {
    if (s.name == name) return &s;
  }
  return nullptr;
}

const Sky& skyOf(const DeviceConfig& device) { return device.sky ? *device.sky : *builtInSky(); }

}  // namespace qvsim
