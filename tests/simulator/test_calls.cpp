// Calls on a started device: filters, DiSEqC, signal, EEPROM, stream selection.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "sim_loader.h"

namespace {

using simtest::SimLib;

void QV_CALLBACK onTs(const uint8_t*, uint32_t) {}
void QV_CALLBACK onRc(const void*, uint32_t) {}

class Filters : public ::testing::Test {
 protected:
  SimLib lib;
  PFN_SetFilter setFilter = SIM_FN(lib, SetFilter);
  PFN_SetRemoteControl setRc = SIM_FN(lib, SetRemoteControl);
  PFN_DelFilter del = SIM_FN(lib, DelFilter);

  int32_t add(uint32_t pid = 0x100) {
    int32_t n = -7;
    EXPECT_EQ(setFilter(pid, onTs, 2, 1, &n), 1);
    return n;
  }
};

// Guards against an off-by-one PID bound and null callbacks or outputs taken.
TEST_F(Filters, ArgumentChecks) {
  int32_t none = -7;
  EXPECT_EQ(setFilter(0, onTs, 2, 1, &none), 0) << "no device started";
  EXPECT_EQ(setRc(1, 0, onRc, &none), 0) << "no device started";
  EXPECT_EQ(none, -7);
  ASSERT_EQ(SIM_FN(lib, StartDVB)(), 1);
  struct Case {
    uint32_t pid;
    QvTsDataCallback cb;
    bool withOut;
    int32_t ok;
  } cases[] = {{0, onTs, true, 1},    {8191, onTs, true, 1},        {8192, onTs, true, 1},
               {8193, onTs, true, 0}, {0xFFFFFFFFu, onTs, true, 0}, {0, nullptr, true, 0},
               {0, onTs, false, 0}};
  for (const auto& c : cases) {
    int32_t n = -7;
    EXPECT_EQ(setFilter(c.pid, c.cb, 2, 1, c.withOut ? &n : nullptr), c.ok) << "pid " << c.pid;
    if (!c.ok) {
      EXPECT_EQ(n, -7);
    }
  }
  struct RcCase {
    uint32_t type;
    QvRcCallback cb;
    bool withOut;
    int32_t ok;
  } rcCases[] = {{0, onRc, true, 1},
                 {1, onRc, true, 1},
                 {2, onRc, true, 0},
                 {1, nullptr, true, 0},
                 {1, onRc, false, 0}};
  for (const auto& c : rcCases) {
    int32_t n = -7;
    EXPECT_EQ(setRc(c.type, 0, c.cb, c.withOut ? &n : nullptr), c.ok) << "type " << c.type;
  }
}

// Guards against reused filter numbers and bogus deletes reported as done.
TEST_F(Filters, NumbersIncreaseAreNeverReusedAndDeleteOnce) {
  ASSERT_EQ(SIM_FN(lib, StartDVB)(), 1);
  std::vector<int32_t> seen;
  for (int i = 0; i < 3; ++i) seen.push_back(add());
  ASSERT_EQ(del(seen[1]), 1);
  seen.push_back(add());
  int32_t rc = 0;
  ASSERT_EQ(setRc(1, 0, onRc, &rc), 1);
  seen.push_back(rc);  // remote-control filters share the numbering
  EXPECT_EQ(seen, (std::vector<int32_t>{1, 2, 3, 4, 5}));
  for (int32_t bad : {0, -1, 6, seen[1]}) EXPECT_EQ(del(bad), 0) << bad;
  EXPECT_EQ(del(seen[0]), 1);
  EXPECT_EQ(del(seen[0]), 0) << "second delete of the same filter";
}

// Guards against filters outliving StopDVB or a switch of device.
TEST_F(Filters, StopAndSwitchDeleteLiveFilters) {
  ASSERT_EQ(SIM_FN(lib, StartDVBEx)(1), 1);
  const int32_t a = add(), b = add();
  ASSERT_EQ(del(a), 1);
  ASSERT_EQ(SIM_FN(lib, StopDVB)(), 1);
  EXPECT_EQ(del(b), 0) << "StopDVB removed it";

  ASSERT_EQ(SIM_FN(lib, StartDVBEx)(1), 1);
  const int32_t c = add();
  ASSERT_EQ(SIM_FN(lib, StartDVBEx)(1), 1);  // same device: filters stay
  ASSERT_EQ(SIM_FN(lib, StartDVBEx)(2), 1);  // switch: filters of device 1 go
  const int32_t d = add();
  EXPECT_EQ(del(c), 0);
  EXPECT_EQ(del(d), 1);
}

// Guards against a wrong capability mask deciding which DiSEqC calls a device takes.
TEST(Diseqc, AcceptsWhatTheDeviceCan) {
  const struct {
    const char *type, *caps;
    int32_t burst, committed, cmd, cmdEx;
  } cases[] = {{"2", "0x18FE", 1, 1, 1, 1}, {"2", "0x70", 1, 1, 1, 0},  {"2", "0x80", 0, 0, 1, 1},
               {"1", "0x0", 0, 0, 0, 0},    {"12", "0xF0", 1, 1, 1, 1}, {"7", "0x18FE", 0, 0, 0, 0},
               {"8", "0xF0", 0, 0, 0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("type ") + c.type + " caps " + c.caps);
    SimLib lib("", std::string(R"({"devices": [{"id": 1, "name": "D", "type": )") + c.type +
                       R"(, "caps": ")" + c.caps + R"("}]})");
    ASSERT_EQ(SIM_FN(lib, StartDVB)(), 1);
    EXPECT_EQ(SIM_FN(lib, SendDiSEqC)(1, 1), c.burst);
    EXPECT_EQ(SIM_FN(lib, SendDiSEqC)(2, 0xF3), c.committed);
    uint8_t msg[] = {0xE0, 0x10, 0x38, 0xF3};
    EXPECT_EQ(SIM_FN(lib, SendDiseqCmd)(msg, 4), c.cmd);
    uint8_t query[] = {0xE2, 0x10, 0x20};  // "set low band" to the switch
    uint8_t reply[8] = {};
    uint32_t count = 99;
    EXPECT_EQ(SIM_FN(lib, SendDiseqCmdEx)(query, 3, reply, &count), c.cmdEx);
    EXPECT_EQ(count, c.cmdEx ? 1u : 99u);
    EXPECT_EQ(reply[0], c.cmdEx ? 0xE4 : 0);
  }
}

// Guards against off-by-one message lengths, bad framing bytes and null outputs.
TEST(DiseqcArgs, RejectsBadInput) {
  SimLib lib;
  auto simple = SIM_FN(lib, SendDiSEqC);
  auto cmd = SIM_FN(lib, SendDiseqCmd);
  auto cmdEx = SIM_FN(lib, SendDiseqCmdEx);
  uint8_t msg[7] = {0xE0, 0x10, 0x38, 0xF0, 0, 0, 0};
  EXPECT_EQ(cmd(msg, 4), 0) << "no device started";
  ASSERT_EQ(SIM_FN(lib, StartDVB)(), 1);
  EXPECT_EQ(simple(1, 2), 0);
  EXPECT_EQ(simple(2, 256), 0);
  EXPECT_EQ(simple(3, 0), 0);
  for (uint32_t len : {0u, 2u, 7u}) EXPECT_EQ(cmd(msg, len), 0) << len;
  for (uint32_t len : {3u, 6u}) EXPECT_EQ(cmd(msg, len), 1) << len;
  EXPECT_EQ(cmd(nullptr, 4), 0);
  uint8_t notFraming[] = {0x10, 0x38, 0xF0};
  EXPECT_EQ(cmd(notFraming, 3), 0);

  uint8_t reply[4] = {};
  uint32_t count = 99;
  EXPECT_EQ(cmdEx(msg, 4, nullptr, &count), 0);
  EXPECT_EQ(cmdEx(msg, 4, reply, nullptr), 0);
  EXPECT_EQ(count, 99u);
  EXPECT_EQ(cmdEx(msg, 4, reply, &count), 1);
  EXPECT_EQ(count, 0u) << "framing E0 asks for no reply";
}

// Guards against a signal reported before any tune and null outputs accepted.
TEST(Signal, StartedDeviceReportsNoSignal) {
  SimLib lib;
  ASSERT_EQ(SIM_FN(lib, StartDVB)(), 1);
  int32_t level = -1, quality = -1, lock = -1, rf = 0;
  float snr = -1, ber = -1;
  EXPECT_EQ(SIM_FN(lib, GetSignal)(&level, &quality), 1);
  EXPECT_EQ(level + quality, 0);
  EXPECT_EQ(SIM_FN(lib, GetSignalExEx)(nullptr, &lock, &rf, &snr, &ber), 1);
  EXPECT_EQ(lock, 0);
  EXPECT_EQ(rf, -100);
  EXPECT_EQ(ber, 1.0f);
  EXPECT_EQ(SIM_FN(lib, GetSignal)(nullptr, &quality), 0);
  EXPECT_EQ(SIM_FN(lib, GetSignalEx)(&snr, nullptr), 0);
  EXPECT_EQ(SIM_FN(lib, Statistic)(nullptr), 0);
}

// Guards against off-by-one size bounds and writes past the requested size.
TEST(Eeprom, SizesAndOffsets) {
  SimLib lib;
  auto get = SIM_FN(lib, GetEEPROM);
  std::vector<uint8_t> buf(8200, 0xCC);
  EXPECT_EQ(get(buf.data(), 0, 256), 0) << "no device started";
  ASSERT_EQ(SIM_FN(lib, StartDVB)(), 1);
  struct Case {
    uint32_t offset, size;
    int32_t ok;
  } cases[] = {{0, 255, 0},  {0, 256, 1}, {0, 4096, 1}, {0, 8192, 1},
               {0, 8193, 0}, {1, 256, 0}, {0, 0, 0},    {0, 0xFFFFFFFFu, 0}};
  for (const auto& c : cases) {
    std::fill(buf.begin(), buf.end(), 0xCC);
    EXPECT_EQ(get(buf.data(), c.offset, c.size), c.ok) << c.offset << "/" << c.size;
    const size_t touched = c.ok ? c.size : 0;
    EXPECT_TRUE(std::all_of(buf.begin() + static_cast<long>(touched), buf.end(), [](uint8_t b) {
      return b == 0xCC;
    })) << "wrote past the requested size";
  }
  EXPECT_EQ(get(nullptr, 0, 256), 0);
  EXPECT_EQ(SIM_FN(lib, SetEEPROM)(nullptr, 0, 256), 0);
}

// Guards against MIS or remote control without the capability.
TEST(MisSel, NeedsTheCapabilityAndValidArguments) {
  SimLib lib("", R"({"devices": [{"id": 1, "name": "MIS", "type": 2, "caps": "0x800"},
                                  {"id": 2, "name": "Plain", "type": 2, "caps": "0x0"}]})");
  auto mis = SIM_FN(lib, MISSel);
  EXPECT_EQ(mis(1, 5, 255), 0) << "no device started";
  ASSERT_EQ(SIM_FN(lib, StartDVBEx)(1), 1);
  EXPECT_EQ(mis(1, 5, 255), 1);
  EXPECT_EQ(mis(0, 0, 255), 1);
  EXPECT_EQ(mis(6, 5, 255), 1) << "the first argument is the program's list index";
  EXPECT_EQ(mis(1, 256, 255), 0);
  ASSERT_EQ(SIM_FN(lib, StartDVBEx)(2), 1);
  EXPECT_EQ(mis(1, 5, 255), 0);
  int32_t n = 0;
  EXPECT_EQ(SIM_FN(lib, SetRemoteControl)(1, 0, onRc, &n), 0) << "no remote-control capability";
}

}  // namespace
