// The virtual sky without the exports: LNB arithmetic, which tunes the tuner
// takes, which lock, the link budget figures and what a locked carrier offers.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "signal_model.h"

namespace {

using namespace qvsim;

constexpr uint32_t kSatType = 2, kTerrType = 7;

TuneRequest Tune(uint32_t mhz, uint32_t pol = 0, uint32_t ksym = 27500, uint32_t fecCode = 0,
                 uint32_t modulation = 0) {
  TuneRequest t;
  t.freqKHz = mhz * 1000, t.symbolRate = ksym * 1000, t.pol = pol, t.fec = fecCode;
  t.modulation = modulation;
  t.lofLowKHz = 9750000, t.lofHighKHz = 10600000, t.lofSwitchKHz = 11700000;
  return t;
}

DeviceState Device(uint32_t type) { return DeviceState(DeviceConfig{1, "d", type, 0x18FE, {}}); }

Reception Receive(DeviceState& d, const TuneRequest& t) {
  if (!acceptsTune(d.config.type, t)) return Reception{};
  applyTune(d, t);
  return receive(d);
}

TEST(LnbDrive, BandVoltageAndIntermediateFrequency) {
  struct Case {
    uint32_t mhz, pol, lofSwitch;
    bool high;
    uint32_t volts;
    int64_t ifKHz;
  } cases[] = {
      {10722, 0, 11700, false, 18, 972000},  {11699, 1, 11700, false, 13, 1949000},
      {11700, 0, 11700, false, 18, 1950000},  // the switch frequency itself is low band
      {11701, 0, 11700, true, 18, 1101000},  {12750, 1, 11700, true, 13, 2150000},
      {11900, 0, 0, false, 18, 2150000},  // no switch frequency: one oscillator
  };
  for (const Case& c : cases) {
    TuneRequest t = Tune(c.mhz, c.pol);
    t.lofSwitchKHz = c.lofSwitch * 1000;
    const LnbDrive d = lnbDriveFor(t);
    EXPECT_EQ(d.highBand, c.high) << c.mhz;
    EXPECT_EQ(d.voltage, c.volts) << c.mhz;
    EXPECT_EQ(d.ifKHz, c.ifKHz) << c.mhz;
  }
}

TEST(AcceptsTune, TunerRangesAndCodes) {
  struct Case {
    const char* what;
    uint32_t type;
    TuneRequest t;
    bool ok;
  } cases[] = {
      {"default", kSatType, Tune(10722), true},
      {"IF just below 950 MHz", kSatType, Tune(10699), false},
      {"IF at 950 MHz", kSatType, Tune(10700), true},
      {"IF at 2150 MHz", kSatType, Tune(12750), true},
      {"IF above 2150 MHz", kSatType, Tune(12751), false},
      {"0 MHz", kSatType, Tune(0), false},
      {"symbol rate 0 is tuned (and will not lock)", kSatType, Tune(10722, 0, 0), true},
      {"FEC 5/11", kSatType, Tune(10722, 0, 27500, 14), true},
      {"FEC past the list", kSatType, Tune(10722, 0, 27500, 15), false},
      {"256QAM", kSatType, Tune(10722, 0, 27500, 0, 20), true},
      {"modulation past the list", kSatType, Tune(10722, 0, 27500, 0, 21), false},
      {"polarisation past the list", kSatType, Tune(10722, 2), false},
      {"terrestrial 474", kTerrType, Tune(474, 0, 0), true},
      {"terrestrial ignores LNB and symbol rate", kTerrType, Tune(474, 1, 0, 0), true},
      {"terrestrial below range", kTerrType, Tune(173), false},
      {"terrestrial above range", kTerrType, Tune(863), false},
      {"satellite frequency on terrestrial", kTerrType, Tune(10722), false},
  };
  for (const Case& c : cases) EXPECT_EQ(acceptsTune(c.type, c.t), c.ok) << c.what;
  TuneRequest t = Tune(10722);
  t.rollOff = 4;
  EXPECT_FALSE(acceptsTune(kSatType, t));
  t.rollOff = 3, t.pilot = 3;
  EXPECT_FALSE(acceptsTune(kSatType, t));
  t.pilot = 2, t.inversion = 3;
  EXPECT_FALSE(acceptsTune(kSatType, t));
}

TEST(Satellite, LockRules) {
  struct Case {
    const char* what;
    TuneRequest t;
    bool present, lock;
  } cases[] = {
      {"default tune", Tune(10722), true, true},
      {"exact modulation and FEC", Tune(10722, 0, 27500, fec::R3_4, mod::Psk8), true, true},
      {"wrong FEC", Tune(10722, 0, 27500, fec::R2_3), true, false},
      {"wrong modulation", Tune(10722, 0, 27500, 0, mod::Qpsk), true, false},
      {"S2 QPSK asked on an 8PSK carrier", Tune(10722, 0, 27500, 0, mod::QpskS2), true, false},
      {"wrong polarisation", Tune(10722, 1), false, false},
      {"symbol rate 1% off", Tune(10722, 0, 27775), true, true},
      {"symbol rate 2% off", Tune(10722, 0, 28050), true, false},
      {"symbol rate in kS/s instead of S/s",
       [] {
         auto t = Tune(10722);
         t.symbolRate = 27500;
         return t;
       }(),
       true, false},
      {"6 MHz off (inside SR/4)", Tune(10728), true, true},
      {"7 MHz off (outside SR/4)", Tune(10729), true, false},
      {"17 MHz off, outside the carrier", Tune(10739), false, false},
      {"empty frequency", Tune(11000), false, false},
      {"high band", Tune(11836, 0, 29700), true, true},
      {"DVB-S QPSK", Tune(10758, 0, 27500, fec::R3_4, mod::Qpsk), true, true},
      {"vertical", Tune(10744, 1, 22000), true, true},
      {"transponder of another satellite", Tune(10853, 0, 29900), false, false},
  };
  for (const Case& c : cases) {
    DeviceState d = Device(kSatType);
    const Reception r = Receive(d, c.t);
    EXPECT_EQ(r.present, c.present) << c.what;
    EXPECT_EQ(r.lock, c.lock) << c.what;
  }
}

TEST(Satellite, WrongLnbValuesLandOnAnotherSkyFrequency) {
  DeviceState d = Device(kSatType);
  TuneRequest t = Tune(10722);
  t.lofLowKHz = 9760000;  // 10 MHz off: the tuner looks at 10712 MHz
  EXPECT_FALSE(Receive(d, t).lock);
  t = Tune(10722);
  t.lofSwitchKHz = 10700000;  // high band chosen: IF 122 MHz, out of the tuner's range
  EXPECT_FALSE(acceptsTune(kSatType, t));
  // A 10750 MHz oscillator typed in as the low LOF: the tuner ends up 10 MHz
  // beside the 10788 V carrier, which it sees but cannot lock.
  t = Tune(11778, 1);
  t.lofSwitchKHz = 12000000;
  t.lofLowKHz = 10750000;
  const Reception r = Receive(d, t);
  EXPECT_TRUE(r.present);
  EXPECT_FALSE(r.lock);
  ASSERT_NE(r.transponder, nullptr);
  EXPECT_EQ(r.transponder->freqKHz, 10788000u);
}

TEST(Satellite, SwitchInputDecidesTheSatellite) {
  DeviceState d = Device(kSatType);
  applyTune(d, Tune(10722));
  EXPECT_TRUE(receive(d).lock);
  EXPECT_EQ(d.antenna.lnbVoltage, 18u);
  EXPECT_FALSE(d.antenna.tone22kHz);
  d.antenna.input = 3;  // another satellite has 10722 H at 22000 kS/s
  Reception r = receive(d);
  EXPECT_TRUE(r.present);
  EXPECT_FALSE(r.lock);
  d.antenna.input = 1;  // 10722 V only
  EXPECT_FALSE(receive(d).present);
  applyTune(d, Tune(10722, 1, 29900));
  EXPECT_EQ(d.antenna.lnbVoltage, 13u);
  EXPECT_TRUE(receive(d).lock);
  for (uint32_t input = 0; input < kSkyInputCount; ++input) {
    ASSERT_NE(satelliteOnInput(input), nullptr) << skyInputName(input);
  }
  EXPECT_EQ(satelliteOnInput(4), nullptr);
  EXPECT_STREQ(skyInputName(0), "PosA/OptA");
  EXPECT_STREQ(skyInputName(3), "PosB/OptB");
}

TEST(Satellite, EveryListedTransponderLocksWithItsOwnParameters) {
  for (const Satellite& sat : satellites()) {
    for (const Transponder& t : sat.transponders) {
      DeviceState d = Device(kSatType);
      d.antenna.input = sat.input;
      TuneRequest req = Tune(t.freqKHz / 1000, static_cast<uint32_t>(t.pol), t.symbolRate / 1000,
                             t.fec, t.modulation);
      const bool weak =
          satelliteLink(Station{}, t).snrDb < requiredSnrDb(t.system, t.modulation, t.fec);
      const Reception r = Receive(d, req);
      EXPECT_TRUE(r.present) << sat.name << " " << t.freqKHz;
      EXPECT_EQ(r.lock, !weak) << sat.name << " " << t.freqKHz;
      EXPECT_GT(requiredSnrDb(t.system, t.modulation, t.fec), -3.0) << "no such modcod";
    }
  }
}

TEST(Ground, TunedByFrequencyAlone) {
  struct Case {
    uint32_t mhz;
    bool present, lock;
  } cases[] = {{474, true, true},   {482, true, true}, {475, true, false}, {478, false, false},
               {498, false, false}, {690, true, true}, {546, true, true}};
  for (const Case& c : cases) {
    DeviceState d = Device(kTerrType);
    TuneRequest t = Tune(c.mhz, 1, 0, 3, 2);  // LNB values, symbol rate and codes mean nothing
    t.lofLowKHz = t.lofHighKHz = t.lofSwitchKHz = 0;
    const Reception r = Receive(d, t);
    EXPECT_EQ(r.present, c.present) << c.mhz;
    EXPECT_EQ(r.lock, c.lock) << c.mhz;
  }
  for (const GroundChannel& c : groundChannels()) {
    EXPECT_EQ((c.freqKHz - 474000) % 8000, 0u) << c.freqKHz << " is off the 8 MHz raster";
  }
}

TEST(LinkBudget, TextbookValues) {
  EXPECT_NEAR(freeSpaceLossDb(38500, 10722000), 204.75, 0.05);
  EXPECT_NEAR(dishGainDbi(Station{}, 10722000), 34.7, 0.1);
  // DVB-S QPSK 3/4 at 27500: 2 * 3/4 * 188/204 * 27.5 = 38.015 Mbit/s.
  const Transponder s{10758000, Pol::H, 27500000, DeliverySystem::DvbS, mod::Qpsk, fec::R3_4, 3,
                      false,    51,     {}};
  EXPECT_EQ(usefulBitrate(s), 38014706u);
  // DVB-S2 8PSK 3/4 at 27500 without pilots: 48328 bits per 21690 symbols.
  Transponder s2{10722000, Pol::H, 27500000, DeliverySystem::DvbS2, mod::Psk8, fec::R3_4, 1,
                 false,    52,     {}};
  EXPECT_NEAR(static_cast<double>(usefulBitrate(s2)), 27500000.0 * 48328 / 21690, 1.0);
  s2.pilots = true;  // 240 slots: a pilot block after every 16 but the last, 14 of 36 symbols
  EXPECT_NEAR(static_cast<double>(usefulBitrate(s2)), 27500000.0 * 48328 / 22194, 1.0);
  // DVB-T 64QAM 2/3, guard 1/4: 19.91 Mbit/s.
  const GroundChannel t{482000, DeliverySystem::DvbT, mod::Qam64, fec::R2_3, 4, -58, 0, {}};
  EXPECT_NEAR(static_cast<double>(usefulBitrate(t)), 19.91e6, 0.01e6);
}

TEST(LinkBudget, FiguresAgreeWithEachOther) {
  // More SNR, fewer errors; more margin, more quality; more power, more level.
  for (uint32_t m : {mod::Qpsk, mod::Psk8, mod::Apsk16, mod::Apsk32, mod::Qam64, mod::Qam256}) {
    EXPECT_GT(rawBitErrorRate(m, 6.0), rawBitErrorRate(m, 12.0)) << m;
    EXPECT_LE(rawBitErrorRate(m, -20.0), 0.5);
    EXPECT_LT(rawBitErrorRate(m, 40.0), 1e-6) << m;
  }
  EXPECT_GT(rawBitErrorRate(mod::Psk8, 12.0), rawBitErrorRate(mod::Qpsk, 12.0));
  EXPECT_EQ(qualityPercent(7.0, 8.0), 0);
  EXPECT_EQ(qualityPercent(13.0, 8.0), 50);
  EXPECT_EQ(qualityPercent(30.0, 8.0), 100);
  EXPECT_DOUBLE_EQ(levelPercent(-110.0), 0.0);
  EXPECT_DOUBLE_EQ(levelPercent(-60.0), 50.0);
  EXPECT_DOUBLE_EQ(levelPercent(-10.0), 100.0);
}

TEST(Measurement, PlausibleAndRepeatableNoise) {
  SkyConfig quiet;
  quiet.noiseDb = 0.0;
  DeviceState d = Device(kSatType);
  applyTune(d, Tune(10722));
  const SignalReport a = measureSignal(d, SignalReader::Statistic, quiet, 0);
  EXPECT_EQ(a.present, 1);
  EXPECT_EQ(a.lock, 1);
  EXPECT_GT(a.snrDb, 10.0f);
  EXPECT_LT(a.ber, 1e-2f);
  EXPECT_GT(a.qualityPercent, 50);
  EXPECT_LT(a.rfLevelDbm, -25);
  EXPECT_GT(a.rfLevelDbm, -70);
  EXPECT_NEAR(a.levelPercent, levelPercent(a.rfLevelDbm), 1.3);
  // Without noise every reading is the same.
  for (int i = 0; i < 5; ++i) {
    const SignalReport b = measureSignal(d, SignalReader::Statistic, quiet, 0);
    EXPECT_EQ(b.snrDb, a.snrDb);
    EXPECT_EQ(b.levelPercent, a.levelPercent);
  }

  // With noise: the readers of one measurement agree, a repeated reader takes
  // a new measurement, and the sequence depends only on the seed.
  auto sequence = [](uint32_t seed) {
    SkyConfig sky;
    sky.noiseDb = 0.5;
    DeviceState dev = Device(kSatType);
    applyTune(dev, Tune(10722));
    std::vector<float> snrs;
    for (int poll = 0; poll < 6; ++poll) {
      const SignalReport s = measureSignal(dev, SignalReader::Statistic, sky, seed);
      const SignalReport x = measureSignal(dev, SignalReader::GetSignalExEx, sky, seed);
      EXPECT_EQ(s.levelPercent, x.levelPercent);
      EXPECT_EQ(s.qualityPercent, x.qualityPercent);
      EXPECT_EQ(s.snrDb, x.snrDb);
      snrs.push_back(x.snrDb);
    }
    return snrs;
  };
  const std::vector<float> first = sequence(7);
  EXPECT_EQ(sequence(7), first);
  EXPECT_NE(sequence(8), first);
  EXPECT_GT(std::set<float>(first.begin(), first.end()).size(), 3u) << "noise does not vary";
  for (float snr : first) EXPECT_NEAR(snr, a.snrDb, 0.5f + 1e-4f);
}

TEST(Measurement, NothingAndPresenceWithoutLock) {
  SkyConfig quiet;
  quiet.noiseDb = 0.0;
  DeviceState d = Device(kSatType);
  SignalReport s = measureSignal(d, SignalReader::GetSignalExEx, quiet, 0);  // never tuned
  EXPECT_EQ(s.present, 0);
  EXPECT_EQ(s.rfLevelDbm, -100);
  EXPECT_EQ(s.ber, 1.0f);
  applyTune(d, Tune(10722, 0, 27500, fec::R1_2));  // wrong FEC: carrier seen, not decoded
  s = measureSignal(d, SignalReader::GetSignalExEx, quiet, 0);
  EXPECT_EQ(s.present, 1);
  EXPECT_EQ(s.lock, 0);
  EXPECT_EQ(s.qualityPercent, 0);
  EXPECT_GT(s.rfLevelDbm, -70);
  EXPECT_EQ(s.ber, 1.0f);
}

TEST(LockedCarrier, StreamsServicesAndSelection) {
  DeviceState d = Device(kSatType);
  applyTune(d, Tune(10722));
  auto c = lockedCarrier(d);
  ASSERT_TRUE(c);
  EXPECT_FALSE(c->multistream);
  EXPECT_FALSE(c->streamId);
  EXPECT_EQ(c->services.size(), 3u);
  EXPECT_GT(c->usefulBitrate, 50000000u);

  applyTune(d, Tune(12188));
  struct Case {
    bool enabled;
    uint32_t id;
    uint8_t delivered;
  } cases[] = {{false, 0, 1}, {true, 2, 2}, {true, 3, 3}, {true, 9, 1}, {false, 2, 1}};
  for (const Case& k : cases) {
    d.mis = {k.enabled, k.id, 255};
    c = lockedCarrier(d);
    ASSERT_TRUE(c);
    EXPECT_TRUE(c->multistream);
    EXPECT_EQ(c->streamIds, (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(c->streamId, k.delivered) << k.enabled << "/" << k.id;
  }
  d.mis = {true, 2, 255};
  EXPECT_EQ(lockedCarrier(d)->services.size(), 2u);
  applyTune(d, Tune(12189, 0, 27500, fec::R1_2));
  EXPECT_FALSE(lockedCarrier(d));
}

}  // namespace
