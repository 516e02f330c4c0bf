// DiSEqC through the virtual antenna: which lines a committed-switch command
// latches and what the bus answers. The scenarios drive the rest through the
// program; linked straight to the simulator's objects.
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

// Guards against a wrong nibble mask: high bits clear their line, low bits set theirs.
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
    for (uint8_t data : {c.first, c.second}) {
      const Bytes msg{0xE0, 0x10, 0x38, data};
      ASSERT_TRUE(diseqcMessage(d, msg.data(), static_cast<uint32_t>(msg.size()), 0));
    }
    EXPECT_EQ(d.antenna.input, c.input) << int(c.second);
    EXPECT_EQ(d.antenna.latchedHorizontal, c.horizontal) << int(c.second);
    EXPECT_EQ(d.antenna.latchedHighBand, c.high) << int(c.second);
  }
}

// Guards against replies from devices not addressed, or to framings that ask for none.
TEST(Bus, AddressedDevicesAnswerAndOthersStaySilent) {
  const std::string positioner =
      R"({"input": {"committed": [{"positioner": {"1": "VirtuSat 19.2E"}, "start": 1}]}})";
  struct Case {
    const char* what;
    std::string antenna;
    Bytes message, reply;
  } cases[] = {
      {"switch takes 38", "", {0xE2, 0x10, 0x38, 0xF6}, {0xE4}},
      {"no reply asked", "", {0xE0, 0x10, 0x38, 0xF6}, {}},
      {"reads committed lines", "", {0xE2, 0x10, 0x14}, {0xE4, 0x0F}},
      {"38 needs its data byte", "", {0xE2, 0x10, 0x38}, {0xE5}},
      {"no positioner here", "", {0xE2, 0x31, 0x6B, 0x01}, {}},
      {"positioner drives", positioner, {0xE2, 0x31, 0x6B, 0x01}, {0xE4}},
      {"reply framing is not a command", "", {0xE4, 0x10, 0x38, 0xF6}, {}},
  };
  for (const Case& c : cases) {
    DeviceState d = Device(c.antenna);
    Bytes reply{0xAA};
    EXPECT_TRUE(diseqcMessageWithReply(d, c.message.data(), static_cast<uint32_t>(c.message.size()),
                                       &reply, 0));
    EXPECT_EQ(reply, c.reply) << c.what;
  }
}

}  // namespace
