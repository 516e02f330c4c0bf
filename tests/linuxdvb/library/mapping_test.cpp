// The program's tuning choices as the kernel must see them: wrong codes here
// tune a real card to the wrong transponder or the wrong LNB supply.
#include <gtest/gtest.h>
#include <linux/dvb/frontend.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "delivery_family.h"
#include "quorvex_api.h"
#include "tuning_map.h"

namespace ldvb {
namespace {

const std::vector<uint32_t> kMulti = {SYS_DVBT, SYS_DVBT2, SYS_DVBC_ANNEX_A, SYS_DVBS, SYS_DVBS2};

std::optional<uint32_t> ValueOf(const std::vector<Property>& p, uint32_t cmd) {
  for (const Property& x : p)
    if (x.cmd == cmd) return x.data;
  return std::nullopt;
}

TuneArgs Sat(uint32_t freqMHz, uint32_t pol = 0) {
  TuneArgs r;
  r.freqKHz = freqMHz * 1000, r.symbolRate = 27500000, r.pol = pol;
  r.lofLowKHz = 9750000, r.lofHighKHz = 10600000, r.lofSwitchKHz = 11700000;
  return r;
}

// Guards against a frontend listed twice per family or under a poorer type.
TEST(DeliveryFamily, AFrontendIsOfferedOncePerFamilyWithItsRichestSystem) {
  EXPECT_EQ(FamiliesOf(kMulti),
            (std::vector<Family>{Family::Satellite, Family::Terrestrial, Family::Cable}));
  EXPECT_EQ(FamiliesOf({SYS_DVBT}), std::vector<Family>{Family::Terrestrial});
  EXPECT_TRUE(FamiliesOf({SYS_DAB}).empty());

  struct Case {
    Family family;
    std::vector<uint32_t> delsys;
    uint32_t type;
  } cases[] = {{Family::Satellite, {SYS_DVBS}, 1},
               {Family::Satellite, {SYS_DVBS, SYS_DVBS2}, 2},
               {Family::Satellite, {SYS_DSS}, 3},
               {Family::Satellite, {SYS_ISDBS}, 12},
               {Family::Terrestrial, {SYS_DVBT}, 6},
               {Family::Terrestrial, {SYS_DVBT2, SYS_DVBT}, 7},
               {Family::Terrestrial, {SYS_ISDBT}, 11},
               {Family::Terrestrial, {SYS_ATSC, SYS_DVBC_ANNEX_B}, 10},
               {Family::Cable, {SYS_ATSC, SYS_DVBC_ANNEX_B}, 10},
               {Family::Cable, {SYS_DVBC_ANNEX_A}, 8},
               {Family::Cable, {SYS_DVBT}, 0}};
  for (const Case& c : cases) EXPECT_EQ(TunerTypeFor(c.family, c.delsys), c.type);
}

// Guards against capabilities the frontend lacks (the program would offer them).
TEST(DeliveryFamily, CapabilitiesFollowWhatTheFrontendCanDo) {
  const uint32_t diseqc = QV_CAP_TONE_BURST | QV_CAP_DISEQC10 | QV_CAP_DISEQC1X | QV_CAP_DISEQC2X;
  EXPECT_EQ(CapsFor(Family::Satellite, {}), diseqc);
  EXPECT_EQ(CapsFor(Family::Terrestrial, {}), 0u);
  EXPECT_EQ(CapsFor(Family::Cable, {true, true, true}),
            QV_CAP_EXT_STATISTICS | QV_CAP_MIS | QV_CAP_REMOTE_CONTROL);
  // There is no generic interface to a MAC address or an EEPROM.
  EXPECT_EQ(CapsFor(Family::Satellite, {true, true, true}) & (QV_CAP_MAC | QV_CAP_EEPROM), 0u);
}

// Guards against two devices sharing an id, and "first device" parsed as one.
TEST(DeliveryFamily, DeviceIdsCarryAdapterFrontendAndFamily) {
  const uint32_t id = DeviceId(3, 1, Family::Cable);
  const std::optional<DeviceAddress> a = ParseDeviceId(id);
  ASSERT_TRUE(a);
  EXPECT_EQ(a->adapter, 3u);
  EXPECT_EQ(a->frontend, 1u);
  EXPECT_EQ(a->family, Family::Cable);
  EXPECT_NE(DeviceId(0, 0, Family::Satellite), DeviceId(0, 0, Family::Terrestrial));
  EXPECT_NE(DeviceId(0, 1, Family::Satellite), DeviceId(1, 0, Family::Satellite));
  // The program's "first device" is not an id of any device.
  EXPECT_FALSE(ParseDeviceId(0xFFFFFFFFu));
}

// Guards against an index mapped to a neighbouring code, or a codeless one tuned anyway.
TEST(TuningMap, ListIndexesBecomeTheKernelsCodes) {
  using Rows = std::vector<std::pair<uint32_t, std::optional<uint32_t>>>;
  const auto check = [](std::optional<uint32_t> (*map)(uint32_t), const Rows& rows) {
    for (const auto& [index, code] : rows) EXPECT_EQ(map(index), code) << "index " << index;
  };
  check(KernelFec, {{0, FEC_AUTO},
                    {1, FEC_1_2},
                    {8, FEC_8_9},
                    {9, FEC_9_10},
                    {10, std::nullopt},
                    {12, FEC_2_5},
                    {13, FEC_3_5},
                    {14, std::nullopt},
                    {15, std::nullopt}});
  check(KernelModulation, {{0, QAM_AUTO},
                           {1, QPSK},
                           {2, PSK_8},
                           {4, APSK_32},
                           {5, QPSK},
                           {8, std::nullopt},
                           {12, std::nullopt},
                           {16, QAM_16},
                           {20, QAM_256},
                           {21, std::nullopt}});
  check(KernelInversion,
        {{0, INVERSION_AUTO}, {1, INVERSION_OFF}, {2, INVERSION_ON}, {3, std::nullopt}});
  check(KernelPilot, {{0, PILOT_AUTO}, {1, PILOT_OFF}, {2, PILOT_ON}});
  check(KernelRollOff,
        {{0, ROLLOFF_AUTO}, {1, ROLLOFF_20}, {2, ROLLOFF_25}, {3, ROLLOFF_35}, {4, std::nullopt}});
}

// Guards against the wrong band at the switch frequency, swapped voltages, a bad IF.
TEST(TuningMap, SatelliteBandVoltageAndIntermediateFrequency) {
  struct Case {
    TuneArgs r;
    uint32_t intermediate;
    bool high;
    bool horizontal;
  } cases[] = {{Sat(10722), 972000, false, true},
               {Sat(11362, 1), 1612000, false, false},
               {Sat(11700), 1950000, false, true},  // the switch frequency itself is still low band
               {Sat(11701), 1101000, true, true},
               {Sat(12722, 1), 2122000, true, false}};
  for (const Case& c : cases) {
    const std::optional<LnbControl> lnb = SatelliteLnb(c.r);
    ASSERT_TRUE(lnb) << c.r.freqKHz;
    EXPECT_EQ(lnb->intermediateKHz, c.intermediate) << c.r.freqKHz;
    EXPECT_EQ(lnb->highBand, c.high) << c.r.freqKHz;
    EXPECT_EQ(lnb->horizontal, c.horizontal) << c.r.freqKHz;
  }
  // A C-band LNB: one oscillator above the band, no high band.
  TuneArgs c;
  c.freqKHz = 3800000, c.lofLowKHz = 5150000;
  ASSERT_TRUE(SatelliteLnb(c));
  EXPECT_EQ(SatelliteLnb(c)->intermediateKHz, 1350000u);
  EXPECT_FALSE(SatelliteLnb(c)->highBand);
  // No oscillator: the frequency is already the intermediate one.
  TuneArgs l;
  l.freqKHz = 1612000;
  EXPECT_EQ(SatelliteLnb(l)->intermediateKHz, 1612000u);
  l.lofLowKHz = 1612000;
  EXPECT_FALSE(SatelliteLnb(l));
}

// Guards against a DVB-S2 tune sent as DVB-S (no lock) or refused needlessly.
TEST(TuningMap, TheChoicesDecideTheDeliverySystem) {
  const std::vector<uint32_t> sOnly = {SYS_DVBS};
  const std::vector<uint32_t> s2Only = {SYS_DVBS2};
  TuneArgs r = Sat(11362);
  EXPECT_EQ(DeliverySystemFor(Family::Satellite, kMulti, r), SYS_DVBS);
  EXPECT_EQ(DeliverySystemFor(Family::Satellite, s2Only, r), SYS_DVBS2);
  for (uint32_t mod : {2u, 3u, 4u, 5u}) {
    r.modulation = mod;
    EXPECT_EQ(DeliverySystemFor(Family::Satellite, kMulti, r), SYS_DVBS2) << mod;
    EXPECT_FALSE(DeliverySystemFor(Family::Satellite, sOnly, r)) << mod;
  }
  r = Sat(11362);
  r.pilot = 2;
  EXPECT_EQ(DeliverySystemFor(Family::Satellite, kMulti, r), SYS_DVBS2);
  r = Sat(11362);
  r.rollOff = 3;  // 0.35 is DVB-S's own roll-off
  EXPECT_EQ(DeliverySystemFor(Family::Satellite, kMulti, r), SYS_DVBS);
  r.modulation = 6;
  EXPECT_FALSE(DeliverySystemFor(Family::Satellite, kMulti, r));
  EXPECT_EQ(DeliverySystemFor(Family::Satellite, {SYS_TURBO}, r), SYS_TURBO);

  EXPECT_EQ(DeliverySystemFor(Family::Cable, kMulti, TuneArgs{}), SYS_DVBC_ANNEX_A);
}

// Guards against a missing or misordered property in the satellite tune.
TEST(TuningMap, ASatelliteTuneSetsSupplyToneAndCarrier) {
  TuneArgs r = Sat(12722, 1);
  r.fec = 3;
  const auto p = TuneProperties(Family::Satellite, kMulti, r, NO_STREAM_ID_FILTER);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->front().cmd, static_cast<uint32_t>(DTV_CLEAR));
  EXPECT_EQ(p->back().cmd, static_cast<uint32_t>(DTV_TUNE));
  EXPECT_EQ(ValueOf(*p, DTV_DELIVERY_SYSTEM), SYS_DVBS);
  EXPECT_EQ(ValueOf(*p, DTV_VOLTAGE), SEC_VOLTAGE_13);
  EXPECT_EQ(ValueOf(*p, DTV_TONE), SEC_TONE_ON);
  EXPECT_EQ(ValueOf(*p, DTV_FREQUENCY), 2122000u);
  EXPECT_EQ(ValueOf(*p, DTV_SYMBOL_RATE), 27500000u);
  EXPECT_EQ(ValueOf(*p, DTV_INNER_FEC), FEC_3_4);
  EXPECT_EQ(ValueOf(*p, DTV_MODULATION), QPSK);  // DVB-S has one modulation
  EXPECT_FALSE(ValueOf(*p, DTV_PILOT));
  EXPECT_FALSE(ValueOf(*p, DTV_STREAM_ID));
  // The supply and tone come before the frequency, so the LNB is on its band
  // when the tuner starts looking.
  const auto at = [&](uint32_t cmd) {
    return std::find_if(p->begin(), p->end(), [&](const Property& x) { return x.cmd == cmd; });
  };
  EXPECT_LT(at(DTV_TONE), at(DTV_FREQUENCY));
  EXPECT_LT(at(DTV_VOLTAGE), at(DTV_FREQUENCY));

  r.modulation = 2, r.pilot = 1, r.rollOff = 2;
  const auto s2 = TuneProperties(Family::Satellite, kMulti, r, 7);
  ASSERT_TRUE(s2);
  EXPECT_EQ(ValueOf(*s2, DTV_DELIVERY_SYSTEM), SYS_DVBS2);
  EXPECT_EQ(ValueOf(*s2, DTV_MODULATION), PSK_8);
  EXPECT_EQ(ValueOf(*s2, DTV_PILOT), PILOT_OFF);
  EXPECT_EQ(ValueOf(*s2, DTV_ROLLOFF), ROLLOFF_25);
  EXPECT_EQ(ValueOf(*s2, DTV_STREAM_ID), 7u);

  r.fec = 14;  // 5/11 has no kernel code: refused rather than tuned as something else
  EXPECT_FALSE(TuneProperties(Family::Satellite, kMulti, r, NO_STREAM_ID_FILTER));
}

// Guards against kHz sent where the kernel wants Hz, and an overflow.
TEST(TuningMap, TerrestrialAndCableTakeTheFrequencyInHertz) {
  TuneArgs r = Sat(474);
  r.symbolRate = 8000 * 1000;
  const auto t = TuneProperties(Family::Terrestrial, kMulti, r, NO_STREAM_ID_FILTER);
  ASSERT_TRUE(t);
  EXPECT_EQ(ValueOf(*t, DTV_FREQUENCY), 474000000u);
  EXPECT_EQ(ValueOf(*t, DTV_BANDWIDTH_HZ), 8000000u);
  EXPECT_FALSE(ValueOf(*t, DTV_VOLTAGE));  // the LNB values are ignored
  EXPECT_FALSE(ValueOf(*t, DTV_TONE));

  r.symbolRate = 6900 * 1000, r.modulation = 20;
  const auto c = TuneProperties(Family::Cable, kMulti, r, NO_STREAM_ID_FILTER);
  ASSERT_TRUE(c);
  EXPECT_EQ(ValueOf(*c, DTV_DELIVERY_SYSTEM), SYS_DVBC_ANNEX_A);
  EXPECT_EQ(ValueOf(*c, DTV_SYMBOL_RATE), 6900000u);
  EXPECT_EQ(ValueOf(*c, DTV_MODULATION), QAM_256);

  r.freqKHz = 4294968;  // does not fit in hertz
  EXPECT_FALSE(TuneProperties(Family::Cable, kMulti, r, NO_STREAM_ID_FILTER));
}

// Guards against DTV_BANDWIDTH_HZ = 0 (si2168, cxd2820r and mn88473 refuse it) and against
// the Symrate override lost.
TEST(TuningMap, TheBandwidthFollowsTheChannelPlanUnlessTheSymrateFieldNamesOne) {
  struct Case {
    uint32_t symrateField, freqMHz, hz;
  } cases[] = {{27500, 474, 8000000}, {27500, 858, 8000000},  {27500, 177, 7000000},
               {27500, 226, 7000000}, {27500, 299, 7000000},  {27500, 300, 8000000},
               {6000, 474, 6000000},  {7000, 666, 7000000},   {8000, 177, 8000000},
               {1712, 226, 1712000},  {10000, 474, 10000000}, {6900, 474, 8000000}};
  for (const Case& c : cases) {
    TuneArgs r;
    r.freqKHz = c.freqMHz * 1000, r.symbolRate = c.symrateField * 1000;
    const auto p = TuneProperties(Family::Terrestrial, kMulti, r, NO_STREAM_ID_FILTER);
    ASSERT_TRUE(p);
    EXPECT_EQ(ValueOf(*p, DTV_BANDWIDTH_HZ), c.hz) << c.symrateField << " " << c.freqMHz;
  }
}

// Guards against a T2 multiplex unreachable from the DVB-T2 device (only 256QAM or 3/5
// chose T2) and a T multiplex unreachable once T2 is chosen.
TEST(TuningMap, TerrestrialChoicesPickDvbTOrDvbT2OrSearchBoth) {
  const std::vector<uint32_t> both = {SYS_DVBT, SYS_DVBT2}, t2 = {SYS_DVBT2}, t = {SYS_DVBT};
  const std::vector<uint32_t> tOnly = {SYS_DVBT}, t2Only = {SYS_DVBT2};
  struct Case {
    uint32_t modulation, fec, pilot, streamId;
    std::vector<uint32_t> delsys, systems;
  } cases[] = {{0, 0, 0, NO_STREAM_ID_FILTER, kMulti, both},   // the dialog's defaults
               {18, 0, 0, NO_STREAM_ID_FILTER, kMulti, both},  // 64QAM: either
               {16, 2, 0, NO_STREAM_ID_FILTER, kMulti, both},  // 16QAM 2/3: either
               {18, 0, 2, NO_STREAM_ID_FILTER, kMulti, t2},    // pilot ON asks for T2
               {18, 0, 0, 3, kMulti, t2},                      // a PLP is T2's
               {20, 0, 0, NO_STREAM_ID_FILTER, kMulti, t2},    // 256QAM
               {0, 13, 0, NO_STREAM_ID_FILTER, kMulti, t2},    // 3/5
               {0, 4, 0, NO_STREAM_ID_FILTER, kMulti, t2},     // 4/5
               {18, 7, 0, NO_STREAM_ID_FILTER, kMulti, t},     // 7/8 is DVB-T's only
               {20, 7, 0, NO_STREAM_ID_FILTER, kMulti, {}},    // no system has both
               {18, 0, 0, NO_STREAM_ID_FILTER, tOnly, t},
               {18, 0, 0, NO_STREAM_ID_FILTER, t2Only, t2},
               {20, 0, 0, NO_STREAM_ID_FILTER, tOnly, {}},
               {0, 7, 0, NO_STREAM_ID_FILTER, t2Only, {}},
               {0, 0, 0, NO_STREAM_ID_FILTER, {SYS_ISDBT}, {SYS_ISDBT}}};
  for (const Case& c : cases) {
    TuneArgs r;
    r.freqKHz = 474000, r.modulation = c.modulation, r.fec = c.fec, r.pilot = c.pilot;
    EXPECT_EQ(CandidateSystems(Family::Terrestrial, c.delsys, r, c.streamId), c.systems)
        << c.modulation << " " << c.fec << " " << c.pilot << " " << c.streamId;
  }
  // The system tried goes to the kernel as asked, with the stream id only for T2.
  TuneArgs r;
  r.freqKHz = 474000, r.modulation = 18;
  const auto p = TunePropertiesFor(Family::Terrestrial, SYS_DVBT2, r, NO_STREAM_ID_FILTER);
  ASSERT_TRUE(p);
  EXPECT_EQ(ValueOf(*p, DTV_DELIVERY_SYSTEM), SYS_DVBT2);
  EXPECT_EQ(ValueOf(*p, DTV_MODULATION), QAM_64);
  EXPECT_EQ(ValueOf(*p, DTV_STREAM_ID), NO_STREAM_ID_FILTER);
  EXPECT_FALSE(ValueOf(*TunePropertiesFor(Family::Terrestrial, SYS_DVBT, r, 0), DTV_STREAM_ID));
}

}  // namespace
}  // namespace ldvb
