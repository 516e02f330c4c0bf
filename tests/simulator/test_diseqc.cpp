// DiSEqC through the virtual antenna: what the bus answers, which the program
// shows. The scenarios drive the switches through the program; linked straight
// to the simulator's objects.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config.h"
#include "diseqc.h"

namespace {

using namespace qvsim;
using Bytes = std::vector<uint8_t>;

DeviceState Device(const std::string& antennaJson = "") {
  std::string doc = R"({"devices": [{"id": 1, "name": "S", "type": 2, "caps": "0xF0"}])";
  if (!antennaJson.empty()) doc += R"(, "antenna": )" + antennaJson;
  return DeviceState(parseConfig(doc + "}").devices.at(0));
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
