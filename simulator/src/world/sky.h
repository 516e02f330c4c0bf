// The virtual sky: what a dish on the satellite device and an aerial on the
// terrestrial device can receive. The built-in sky is one table in sky.cpp;
// a configuration may build one from channel files instead (sky_file.cpp).
// The arithmetic that turns a tune into a received carrier is in
// signal_model.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qvsim {

// Polarisation codes, as the program's polarisation list numbers them.
enum class Pol : uint32_t { H = 0, V = 1 };

// Modulation codes, the library's own (the program passes its list index).
namespace mod {
inline constexpr uint32_t Auto = 0, Qpsk = 1, Psk8 = 2, Apsk16 = 3, Apsk32 = 4, QpskS2 = 5,
                          Qam16 = 16, Qam32 = 17, Qam64 = 18, Qam128 = 19, Qam256 = 20;
inline constexpr uint32_t kLast = 20;
}  // namespace mod

// FEC codes; the rates 1/4 .. 5/11 come after 9/10.
namespace fec {
inline constexpr uint32_t Auto = 0, R1_2 = 1, R2_3 = 2, R3_4 = 3, R4_5 = 4, R5_6 = 5, R6_7 = 6,
                          R7_8 = 7, R8_9 = 8, R9_10 = 9, R1_4 = 10, R1_3 = 11, R2_5 = 12, R3_5 = 13,
                          R5_11 = 14;
inline constexpr uint32_t kLast = 14;
}  // namespace fec

// Roll-off codes: 0 AUTO, 1 0.20, 2 0.25, 3 0.35; inversion and pilot: 0 AUTO, 1 OFF, 2 ON.
inline constexpr uint32_t kLastRollOffCode = 3;
inline constexpr uint32_t kLastOnOffCode = 2;

// DVB-C carriers come only from channel files.
enum class DeliverySystem { DvbS, DvbS2, DvbT, DvbT2, DvbC };

struct Service {
  uint16_t serviceId;
  std::string name;
};

// One input stream. `isi` is the stream id on a multistream carrier, -1 on a
// carrier with a single stream.
struct Stream {
  int isi;
  std::vector<Service> services;
};

struct Transponder {
  uint32_t freqKHz;
  Pol pol;
  uint32_t symbolRate;  // symbols per second
  DeliverySystem system;
  uint32_t modulation;  // mod:: code
  uint32_t fec;         // fec:: code
  uint32_t rollOff;     // roll-off code 1..3
  bool pilots;
  double eirpDbw;  // towards the dish
  std::vector<Stream> streams;
};

// The committed-switch inputs, in the order of the program's switch list:
// bit 0 is the position (A/B), bit 1 the option (A/B), as in the committed
// DiSEqC data byte's bits 2 and 3.
inline constexpr uint32_t kSkyInputCount = 4;
const char* skyInputName(uint32_t input);  // "PosA/OptA" ...

struct Satellite {
  std::string name;
  uint32_t input;  // where the switch reaches it
  std::vector<Transponder> transponders;
  double eastDeg = 0.0;  // orbital position, where a dish on a positioner finds it
};

// A terrestrial multiplex (the built-in ones on the 8 MHz raster) or, from a
// channel file, a cable carrier.
struct GroundChannel {
  uint32_t freqKHz;  // centre frequency
  DeliverySystem system;
  uint32_t modulation;
  uint32_t fec;
  uint32_t guardDenominator;  // guard interval 1/N
  double levelDbm;            // at the aerial socket
  uint64_t t2BitrateBps;      // DVB-T2 only: the multiplex's configured payload
  std::vector<Stream> streams;
  uint32_t bandwidthKHz = 8000;  // occupied by the carrier
  uint32_t symbolRate = 0;       // cable only: symbols per second (a tune must match it)
};

// The universal LNB on the dish: local oscillators and the band it passes.
inline constexpr uint32_t kLnbLowLoKHz = 9750000;
inline constexpr uint32_t kLnbHighLoKHz = 10600000;
inline constexpr uint32_t kLnbInputMinKHz = 10700000;
inline constexpr uint32_t kLnbInputMaxKHz = 12750000;
// The satellite tuner's input range (the LNB's intermediate frequency).
inline constexpr uint32_t kIfMinKHz = 950000;
inline constexpr uint32_t kIfMaxKHz = 2150000;
// The terrestrial tuner's range (VHF band III to the top of UHF).
inline constexpr uint32_t kGroundMinKHz = 174000;
inline constexpr uint32_t kGroundMaxKHz = 862000;
inline constexpr uint32_t kGroundBandwidthKHz = 8000;

// What the dish and the aerial can receive.
struct Sky {
  std::vector<Satellite> satellites;
  std::vector<GroundChannel> ground;
};

// The built-in sky, the same for every device and every load.
std::shared_ptr<const Sky> builtInSky();
const std::vector<Satellite>& satellites();          // the built-in sky's
const std::vector<GroundChannel>& groundChannels();  // the built-in sky's

// The terrestrial tuner's range on a cable device, whose band starts lower.
inline constexpr uint32_t kCableMinKHz = 47000;

}  // namespace qvsim
