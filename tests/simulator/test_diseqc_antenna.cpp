// The equipment in front of the virtual satellite tuner: which commands move
// which switch, what the bus answers, the positioner's driving time, and
// whether the tuner locks through it. Linked straight to the simulator's objects.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config.h"
#include "diseqc.h"
#include "signal_model.h"

namespace {

using namespace qvsim;
using Bytes = std::vector<uint8_t>;

DeviceState Device(const std::string& antennaJson = "") {
  std::string doc = R"({"devices": [{"id": 1, "name": "S", "type": 2, "caps": "0xF0"}])";
  if (!antennaJson.empty()) doc += R"(, "antenna": )" + antennaJson;
  return DeviceState(parseConfig(doc + "}").devices.at(0));
}

Bytes Ask(DeviceState& d, Bytes msg, int64_t nowUs = 0) {
  Bytes reply{0xAA};
  EXPECT_TRUE(
      diseqcMessageWithReply(d, msg.data(), static_cast<uint32_t>(msg.size()), &reply, nowUs));
  return reply;
}

void Send(DeviceState& d, Bytes msg, int64_t nowUs = 0) {
  ASSERT_TRUE(diseqcMessage(d, msg.data(), static_cast<uint32_t>(msg.size()), nowUs));
}

std::string InView(const DeviceState& d, int64_t nowUs = 0) {
  const Satellite* s = satelliteInView(d, nowUs);
  return s ? s->name : "nothing";
}

TEST(CommittedSwitch, WriteClearsHighNibbleLinesThenSetsLowNibbleLines) {
  struct Case {
    uint8_t first, second;
    uint32_t input;
    bool horizontal, high;
  } cases[] = {
      {0xF2, 0xF2, 0, true, false},  {0xFD, 0xFD, 3, false, true},
      {0xFF, 0x40, 2, true, true},    // clears the position only
      {0xF0, 0x08, 2, false, false},  // sets the option only
      {0xF5, 0x33, 1, true, true},    // clears band and polarisation, then sets both
  };
  for (const Case& c : cases) {
    DeviceState d = Device();
    Send(d, {0xE0, 0x10, 0x38, c.first});
    Send(d, {0xE0, 0x10, 0x38, c.second});
    EXPECT_EQ(d.antenna.input, c.input) << int(c.second);
    EXPECT_EQ(d.antenna.latchedHorizontal, c.horizontal) << int(c.second);
    EXPECT_EQ(d.antenna.latchedHighBand, c.high) << int(c.second);
  }
}

TEST(CommittedSwitch, EachEntryPointFormReachesTheSameSatellite) {
  for (uint32_t input = 0; input < kSkyInputCount; ++input) {
    const uint8_t data = static_cast<uint8_t>(0xF0 | input << 2);
    DeviceState byMessage = Device(), byMode2 = Device();
    Send(byMessage, {0xE0, 0x10, 0x38, data});
    ASSERT_TRUE(diseqcSimple(byMode2, 2, data, 0));
    EXPECT_EQ(InView(byMessage), satelliteOnInput(input)->name);
    EXPECT_EQ(InView(byMode2), satelliteOnInput(input)->name);
  }
}

TEST(Bus, AddressedDevicesAnswerAndOthersStaySilent) {
  const std::string withPositioner =
      R"({"input": {"committed": [{"positioner": {"1": "VirtuSat 19.2E"}, "start": 1}]}})";
  struct Case {
    const char* what;
    const char* antenna;
    Bytes message, reply;
  } cases[] = {
      {"switch takes 38", "", {0xE2, 0x10, 0x38, 0xF6}, {0xE4}},
      {"repeat framing too", "", {0xE3, 0x14, 0x38, 0xF6}, {0xE4}},
      {"no reply asked", "", {0xE0, 0x10, 0x38, 0xF6}, {}},
      {"reads committed lines", "", {0xE2, 0x10, 0x14}, {0xE4, 0x0F}},
      {"no uncommitted switch here", "", {0xE2, 0x10, 0x39, 0xF1}, {0xE5}},
      {"38 needs its data byte", "", {0xE2, 0x10, 0x38}, {0xE5}},
      {"no positioner here", "", {0xE2, 0x31, 0x6B, 0x01}, {}},
      {"LNB address nobody answers", "", {0xE2, 0x11, 0x38, 0xF0}, {}},
      {"positioner drives", withPositioner.c_str(), {0xE2, 0x31, 0x6B, 0x01}, {0xE4}},
      {"positioner, unsupported", withPositioner.c_str(), {0xE2, 0x31, 0x38, 0xF0}, {0xE5}},
      {"reply framing is not a command", "", {0xE4, 0x10, 0x38, 0xF6}, {}},
  };
  for (const Case& c : cases) {
    DeviceState d = Device(c.antenna);
    EXPECT_EQ(Ask(d, c.message), c.reply) << c.what;
  }
}

TEST(Bus, ReadBackShowsWhatWasWritten) {
  DeviceState d = Device(R"({"input": {"uncommitted": ["VirtuSat 19.2E"]}})");
  Send(d, {0xE0, 0x10, 0x39, 0xF9});
  EXPECT_EQ(Ask(d, {0xE2, 0x10, 0x15}), (Bytes{0xE4, 0x9F}));
  DeviceState c = Device();
  Send(c, {0xE0, 0x10, 0x38, 0xF6});
  EXPECT_EQ(Ask(c, {0xE2, 0x10, 0x14}), (Bytes{0xE4, 0x6F}));
}

TEST(Cascade, CommandsReachOnlySwitchesOnTheSelectedPath) {
  // Port 0: a committed switch; port 2: a plain LNB; port 15: a tone-burst switch.
  DeviceState d = Device(R"({"input": {"uncommitted": [
      {"committed": ["VirtuSat 19.2E", "VirtuSat 13.0E"]}, null, "VirtuSat 28.2E",
      null, null, null, null, null, null, null, null, null, null, null, null,
      {"burst": ["VirtuSat 23.5E", "VirtuSat 13.0E"]}]}})");
  EXPECT_EQ(InView(d), "VirtuSat 19.2E");
  Send(d, {0xE0, 0x10, 0x38, 0xF6});
  EXPECT_EQ(InView(d), "VirtuSat 13.0E");
  Send(d, {0xE0, 0x10, 0x39, 0xF1});
  EXPECT_EQ(InView(d), "nothing");
  Send(d, {0xE0, 0x10, 0x39, 0xF2});
  EXPECT_EQ(InView(d), "VirtuSat 28.2E");
  EXPECT_EQ(Ask(d, {0xE2, 0x10, 0x38, 0xF2}), (Bytes{0xE5})) << "no committed switch on this path";
  Send(d, {0xE0, 0x10, 0x39, 0xFF});
  EXPECT_EQ(InView(d), "VirtuSat 23.5E");
  ASSERT_TRUE(diseqcSimple(d, 1, 1, 0));
  EXPECT_EQ(InView(d), "VirtuSat 13.0E");
  ASSERT_TRUE(diseqcSimple(d, 1, 0, 0));
  EXPECT_EQ(InView(d), "VirtuSat 23.5E");
}

TEST(Positioner, DrivesAtItsSpeedAndSeesNothingOnTheWay) {
  DeviceState d = Device(R"({"input": {"positioner": {"1": "VirtuSat 13.0E", "2": "VirtuSat 19.2E",
      "3": "VirtuSat 28.2E"}, "start": 1}, "positioner_speed": 1.5})");
  const int64_t s = 1000000;
  EXPECT_EQ(InView(d), "VirtuSat 13.0E");
  Send(d, {0xE0, 0x31, 0x6B, 0x03}, 10 * s);  // 15.2 degrees: 10.13 s, passing 19.2E
  EXPECT_EQ(InView(d, 10 * s + s / 10), "nothing");
  EXPECT_NEAR(dishAngle(d, 0, 14 * s), 13.0 + 4 * 1.5, 1e-9);
  EXPECT_EQ(InView(d, 14 * s), "nothing") << "19.2E is passed, not stopped at";
  EXPECT_EQ(InView(d, 20 * s), "nothing");
  EXPECT_EQ(InView(d, 20 * s + 140000), "VirtuSat 28.2E");
  Send(d, {0xE0, 0x31, 0x6B, 0x07}, 30 * s);  // an empty slot: stays
  EXPECT_EQ(InView(d, 30 * s), "VirtuSat 28.2E");
  Send(d, {0xE0, 0x31, 0x6B, 0x00}, 40 * s);  // reference, 0 degrees
  Send(d, {0xE0, 0x31, 0x60}, 42 * s);        // halt on the way
  EXPECT_NEAR(dishAngle(d, 0, 50 * s), 28.2 - 3.0, 1e-9);
  EXPECT_EQ(InView(d, 50 * s), "nothing");
  Send(d, {0xE0, 0x31, 0x6B, 0x02}, 50 * s);
  EXPECT_EQ(InView(d, 54 * s), "VirtuSat 19.2E");
  d.resetSession();
  EXPECT_EQ(InView(d, 60 * s), "VirtuSat 19.2E") << "a stopped device leaves the dish where it is";
}

TuneRequest Tune(uint32_t mhz, uint32_t pol, uint32_t ksym) {
  TuneRequest t;
  t.freqKHz = mhz * 1000, t.symbolRate = ksym * 1000, t.pol = pol;
  t.lofLowKHz = 9750000, t.lofHighKHz = 10600000, t.lofSwitchKHz = 11700000;
  return t;
}

TEST(Lock, FollowsTheSwitchAndItsPolarisationAndBandLines) {
  struct Case {
    uint8_t data;
    uint32_t mhz, pol, ksym;
    bool lock;
  } cases[] = {
      {0xF2, 10722, 0, 27500, true},   // 19.2E, H, low band: agrees
      {0xF0, 10722, 0, 27500, false},  // latched vertical, tuned horizontal
      {0xF3, 10722, 0, 27500, false},  // latched high band, tuned low
      {0xF4, 10722, 1, 29900, true},   // 13.0E, V, low band
      {0xF6, 10722, 1, 29900, false},  // latched horizontal, tuned vertical
      {0xF4, 10722, 0, 27500, false},  // 13.0E has no 10722 H
      {0xF1, 11778, 1, 27500, true},   // 19.2E, V, high band
      {0xF0, 11778, 1, 27500, false},  // latched low band, tuned high
  };
  for (const Case& c : cases) {
    DeviceState d = Device();
    Send(d, {0xE0, 0x10, 0x38, c.data});
    applyTune(d, Tune(c.mhz, c.pol, c.ksym));
    EXPECT_EQ(receive(d).lock, c.lock) << std::hex << int(c.data) << std::dec << " " << c.mhz;
  }
}

TEST(Lock, WithoutCommittedCommandsTheTuneAloneDecides) {
  DeviceState d = Device(R"({"input": {"uncommitted": ["VirtuSat 19.2E", "VirtuSat 28.2E"]}})");
  applyTune(d, Tune(10722, 0, 27500));
  EXPECT_TRUE(receive(d).lock);
  Send(d, {0xE0, 0x10, 0x39, 0xF1});
  EXPECT_FALSE(receive(d).lock) << "28.2E carries 10722 H at 22000 kS/s";
  applyTune(d, Tune(10722, 0, 22000));
  EXPECT_TRUE(receive(d).lock);
}

TEST(AntennaConfig, RejectsWhatCannotBeBuilt) {
  const char* bad[] = {
      R"("VirtuSat 19.2E")",
      R"({"input": "VirtuSat 99.9W"})",
      R"({"input": {"committed": []}})",
      R"({"input": {"committed": [null, null, null, null, null]}})",
      R"({"input": {"burst": ["VirtuSat 19.2E", null, null]}})",
      R"({"input": {"rotor": ["VirtuSat 19.2E"]}})",
      R"({"input": {"positioner": {"0": "VirtuSat 19.2E"}}})",
      R"({"input": {"positioner": {"256": "VirtuSat 19.2E"}}})",
      R"({"input": {"positioner": {"1": "VirtuSat 19.2E"}, "start": 2}})",
      R"({"input": 5})",
      R"({"positioner_speed": 0})",
      R"({"input": {"committed": [{"committed": [{"committed": [{"committed": [{"committed": [
          {"committed": [{"committed": [{"committed": [{"committed": [{"committed": [null]}]}]}]}]}]}]}]}]}]}})",
  };
  for (const char* a : bad) {
    EXPECT_THROW(parseConfig(std::string(R"({"antenna": )") + a + "}"), ConfigError) << a;
  }
  EXPECT_THROW(parseConfig(R"({"diseqc": {"reply": {"bytes": [1,2,3,4,5,6,7,8,9]}}})"),
               ConfigError);
  const Config c = parseConfig(R"({"diseqc": {"reply": {"bytes": ["0xE4", 0], "count": 12}}})");
  ASSERT_TRUE(c.diseqcReply);
  EXPECT_EQ(c.diseqcReply->bytes, (Bytes{0xE4, 0x00}));
  EXPECT_EQ(c.diseqcReply->count, 12u);
}

}  // namespace
