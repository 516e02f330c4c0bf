#include "signal_model.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "diseqc.h"

namespace qvsim {
namespace {

// A demodulator pulls in a carrier this far off its nominal frequency.
uint32_t captureRangeKHz(uint32_t symbolRate) { return symbolRate / 4000; }
// The symbol rate asked may differ this much from the carrier's.
bool symbolRateMatches(uint32_t asked, uint32_t actual) {
  const uint64_t diff = asked > actual ? asked - actual : actual - asked;
  return diff * 100 <= actual;
}
constexpr uint32_t kGroundCaptureKHz = 250;

double rollOffFactor(uint32_t code) {
  switch (code) {
    case 1:
      return 0.20;
    case 2:
      return 0.25;
    default:
      return 0.35;
  }
}

bool codesValid(const TuneRequest& t) {
  return t.pol <= 1 && t.fec <= fec::kLast && t.modulation <= mod::kLast &&
         t.inversion <= kLastOnOffCode && t.pilot <= kLastOnOffCode &&
         t.rollOff <= kLastRollOffCode;
}

bool choiceMatches(uint32_t asked, uint32_t actual) { return asked == 0 || asked == actual; }

uint32_t distance(int64_t a, int64_t b) { return static_cast<uint32_t>(std::llabs(a - b)); }

Reception receiveSatellite(const DeviceState& device, const TuneRequest& tune,
                           const Station& station) {
  Reception r;
  const Satellite* sat = satelliteInView(device);
  if (!sat || device.antenna.lnbVoltage == 0 || !committedLinesAgree(device)) return r;
  // The LNB mixes with its own oscillator, whatever LOF the user typed in.
  const int64_t lo = device.antenna.tone22kHz ? kLnbHighLoKHz : kLnbLowLoKHz;
  const int64_t sky = lo + lnbDriveFor(tune).ifKHz;
  if (sky < kLnbInputMinKHz || sky > kLnbInputMaxKHz) return r;
  const Pol pol = device.antenna.lnbVoltage == 18 ? Pol::H : Pol::V;

  // Of the carriers whose band covers the frequency, the demodulator settles
  // on one at the symbol rate it was given (a narrow carrier may sit inside
  // a wide one's band), else on the nearest.
  const Transponder* nearest = nullptr;
  uint32_t nearestOffset = 0;
  bool nearestMatches = false;
  for (const Transponder& t : sat->transponders) {
    if (t.pol != pol) continue;
    const uint32_t offset = distance(sky, t.freqKHz);
    const double halfBandwidthKHz = t.symbolRate * (1.0 + rollOffFactor(t.rollOff)) / 2000.0;
    if (offset >= halfBandwidthKHz) continue;
    const bool matches = symbolRateMatches(tune.symbolRate, t.symbolRate);
    if (!nearest || (matches && !nearestMatches) ||
        (matches == nearestMatches && offset < nearestOffset)) {
      nearest = &t, nearestOffset = offset, nearestMatches = matches;
    }
  }
  if (!nearest) return r;
  const Transponder& t = *nearest;
  r.present = true;
  r.transponder = &t;
  r.link = satelliteLink(station, t);
  r.requiredSnrDb = neededSnrDb(t.system, t.modulation, t.fec);
  r.modulation = t.modulation;
  r.lock = nearestOffset <= captureRangeKHz(t.symbolRate) &&
           symbolRateMatches(tune.symbolRate, t.symbolRate) &&
           choiceMatches(tune.modulation, t.modulation) && choiceMatches(tune.fec, t.fec) &&
           r.link.snrDb >= r.requiredSnrDb;
  return r;
}

Reception receiveGround(const Sky& sky, const TuneRequest& tune, const Station& station) {
  Reception r;
  const GroundChannel* nearest = nullptr;
  uint32_t nearestOffset = 0;
  for (const GroundChannel& c : sky.ground) {
    const uint32_t offset = distance(tune.freqKHz, c.freqKHz);
    if (offset >= c.bandwidthKHz / 2) continue;
    if (!nearest || offset < nearestOffset) nearest = &c, nearestOffset = offset;
  }
  if (!nearest) return r;
  const GroundChannel& c = *nearest;
  r.present = true;
  r.ground = nearest;
  r.link = groundLink(station, c);
  r.requiredSnrDb = neededSnrDb(c.system, c.modulation, c.fec);
  r.modulation = c.modulation;
  // A cable demodulator needs the symbol rate and takes a QAM order it is
  // told; a terrestrial one finds its parameters in the signal.
  const bool cable = c.system == DeliverySystem::DvbC;
  const uint32_t capture =
      cable ? std::max(kGroundCaptureKHz, captureRangeKHz(c.symbolRate)) : kGroundCaptureKHz;
  r.lock = nearestOffset <= capture && r.link.snrDb >= r.requiredSnrDb &&
           (!cable || (symbolRateMatches(tune.symbolRate, c.symbolRate) &&
                       choiceMatches(tune.modulation, c.modulation)));
  return r;
}

bool isCableType(uint32_t type) { return type == 8 || type == 9; }

uint64_t mix(uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

}  // namespace

LnbDrive lnbDriveFor(const TuneRequest& t) {
  LnbDrive d;
  // A switch frequency of 0 means a single-oscillator LNB: always the low band.
  // The switch frequency itself is still the low band, as in the band bit the
  // program puts in a committed-switch command.
  d.highBand = t.lofSwitchKHz != 0 && t.freqKHz > t.lofSwitchKHz;
  const int64_t lof = d.highBand ? t.lofHighKHz : t.lofLowKHz;
  d.ifKHz = std::llabs(static_cast<int64_t>(t.freqKHz) - lof);
  d.voltage = t.pol == static_cast<uint32_t>(Pol::V) ? 13 : 18;
  return d;
}

bool acceptsTune(uint32_t tunerType, const TuneRequest& t) {
  if (!codesValid(t)) return false;
  if (!isSatelliteType(tunerType)) {
    // Polarisation and LNB values mean nothing to this tuner; a cable tuner's
    // band starts below VHF band III.
    const uint32_t lowest = isCableType(tunerType) ? kCableMinKHz : kGroundMinKHz;
    return t.freqKHz >= lowest && t.freqKHz <= kGroundMaxKHz;
  }
  const int64_t ifKHz = lnbDriveFor(t).ifKHz;
  return ifKHz >= kIfMinKHz && ifKHz <= kIfMaxKHz;
}

void applyTune(DeviceState& device, const TuneRequest& tune) {
  device.tune = tune;
  if (isSatelliteType(device.config.type)) {
    const LnbDrive d = lnbDriveFor(tune);
    device.antenna.lnbVoltage = d.voltage;
    device.antenna.tone22kHz = d.highBand;
  }
}

Reception receive(const DeviceState& device, const Station& station) {
  if (!device.tune) return Reception{};
  return isSatelliteType(device.config.type)
             ? receiveSatellite(device, *device.tune, station)
             : receiveGround(skyOf(device.config), *device.tune, station);
}

double noiseSample(uint32_t seed, uint64_t measurement, uint32_t channel) {
  const uint64_t h = mix(mix((static_cast<uint64_t>(seed) << 8) ^ channel) ^ measurement);
  return static_cast<double>(h >> 11) / static_cast<double>(1ull << 52) - 1.0;
}

SignalFigures measureSignal(DeviceState& device, SignalReader reader, const SkyConfig& sky,
                            uint32_t seed) {
  const uint32_t bit = 1u << static_cast<uint32_t>(reader);
  if (device.meter.readers & bit) {
    ++device.meter.measurement;
    device.meter.readers = 0;
  }
  device.meter.readers |= bit;
  const uint64_t m = device.meter.measurement;

  SignalFigures s;
  s.rfLevelDbm = -100;  // the noise floor
  const Reception r = receive(device);
  if (!r.present) return s;
  s.present = true;
  const double rf = r.link.rfDbm + 2.5 * sky.noiseDb * noiseSample(seed, m, 0);
  s.rfLevelDbm = static_cast<int32_t>(std::lround(rf));
  s.levelPercent = static_cast<float>(levelPercent(rf));
  if (!r.lock) return s;
  const double snr = r.link.snrDb + sky.noiseDb * noiseSample(seed, m, 1);
  s.lock = true;
  s.snrDb = static_cast<float>(snr);
  s.qualityPercent = qualityPercent(snr, r.requiredSnrDb);
  s.ber = static_cast<float>(rawBitErrorRate(r.modulation, snr));
  return s;
}

std::optional<LockedCarrier> lockedCarrier(const DeviceState& device) {
  const Reception r = receive(device);
  if (!r.lock) return std::nullopt;
  const std::vector<Stream>& streams = r.transponder ? r.transponder->streams : r.ground->streams;
  LockedCarrier c;
  c.usefulBitrate = r.transponder ? usefulBitrate(*r.transponder) : usefulBitrate(*r.ground);
  c.multistream = !streams.empty() && streams.front().isi >= 0;
  const Stream* delivered = streams.empty() ? nullptr : &streams.front();
  if (c.multistream) {
    for (const Stream& s : streams) {
      c.streamIds.push_back(static_cast<uint8_t>(s.isi));
      // A selection takes effect only for a stream the carrier has; otherwise
      // the demodulator passes the first stream it finds.
      if (device.mis.enabled && static_cast<uint32_t>(s.isi) == device.mis.streamId) delivered = &s;
    }
    c.streamId = static_cast<uint8_t>(delivered->isi);
  }
  if (delivered) c.services = delivered->services;
  return c;
}

}  // namespace qvsim
