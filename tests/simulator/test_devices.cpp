// Devices: enumeration, starting and stopping, and what the started device reports.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "sim_loader.h"

namespace {

using simtest::SimLib;

struct Seen {
  uint32_t id;
  std::string name;
  uint32_t type;
  bool operator==(const Seen&) const = default;
};
std::vector<Seen> g_seen;
PFN_GetCaps g_reenter = nullptr;  // called from inside the callback when set
uint32_t g_capsInside = 0;

void QV_CALLBACK onDevice(uint32_t id, const char* name) { g_seen.push_back({id, name, 0}); }
void QV_CALLBACK onDeviceEx(uint32_t id, const char* name, uint32_t type) {
  g_seen.push_back({id, name, type});
  if (g_reenter) g_capsInside = g_reenter();
}

// Guards against lost or reordered devices and a deadlock on reentry.
TEST(Enumeration, DevicesInOrderAndTheCallbackMayReenter) {
  SimLib lib;
  g_seen.clear();
  ASSERT_EQ(SIM_FN(lib, StartDVBEx)(2), 1);
  g_reenter = SIM_FN(lib, GetCaps);
  ASSERT_EQ(SIM_FN(lib, CheckForDVBExEx)(onDeviceEx), 1);
  g_reenter = nullptr;
  EXPECT_EQ(g_capsInside, 0x180Eu);
  EXPECT_EQ(g_seen,
            (std::vector<Seen>{{1, "Quorvex S2 Virtual", 2}, {2, "Quorvex T2/C2 Virtual", 7}}));
  g_seen.clear();
  ASSERT_EQ(SIM_FN(lib, CheckForDVBEx)(onDevice), 1);
  EXPECT_EQ(g_seen.size(), 2u);
  EXPECT_EQ(SIM_FN(lib, CheckForDVBEx)(nullptr), 0);
  EXPECT_EQ(SIM_FN(lib, CheckForDVBExEx)(nullptr), 0);
}

// Guards against reporting success with no device at all.
TEST(Enumeration, NoDevicesFailsEverywhere) {
  SimLib lib("", R"({"devices": []})");
  g_seen.clear();
  EXPECT_EQ(SIM_FN(lib, CheckForDVB)(), 0);
  EXPECT_EQ(SIM_FN(lib, CheckForDVBExEx)(onDeviceEx), 0);
  EXPECT_TRUE(g_seen.empty());
  EXPECT_EQ(SIM_FN(lib, StartDVB)(), 0);
  EXPECT_EQ(SIM_FN(lib, StartDVBEx)(0xFFFFFFFFu), 0);
}

// Guards against the wrong device started and failed calls writing outputs.
TEST(StartDevice, ReportsTheStartedDevice) {
  using Mac = std::array<uint8_t, 6>;
  const Mac mac1{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}, mac2{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5F};
  const struct {
    uint32_t startId;  // 0: use StartDVB()
    bool ok;
    uint32_t type, caps;
    Mac mac;
  } cases[] = {{0, true, 2, 0x18FE, mac1},
               {0xFFFFFFFFu, true, 2, 0x18FE, mac1},
               {2, true, 7, 0x180E, mac2},
               {3, false, 0, 0, {}},
               {0xFFFFFFFEu, false, 0, 0, {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.startId);
    SimLib lib;
    const int32_t started =
        c.startId ? SIM_FN(lib, StartDVBEx)(c.startId) : SIM_FN(lib, StartDVB)();
    ASSERT_EQ(started, c.ok ? 1 : 0);
    uint32_t type = 0xDEAD;
    Mac mac{9, 9, 9, 9, 9, 9};
    EXPECT_EQ(SIM_FN(lib, GetTunerType)(&type), c.ok ? 1 : 0);
    EXPECT_EQ(SIM_FN(lib, GetMAC)(mac.data()), c.ok ? 1 : 0);
    EXPECT_EQ(SIM_FN(lib, GetCaps)(), c.caps);
    EXPECT_EQ(type, c.ok ? c.type : 0xDEADu);
    EXPECT_EQ(mac, (c.ok ? c.mac : Mac{9, 9, 9, 9, 9, 9}));
    EXPECT_EQ(SIM_FN(lib, StopDVB)(), c.ok ? 1 : 0);
  }
}

// Guards against a failed start dropping the device and a double stop passing.
TEST(StartStop, StateRules) {
  SimLib lib;
  auto start = SIM_FN(lib, StartDVBEx);
  auto stop = SIM_FN(lib, StopDVB);
  auto caps = SIM_FN(lib, GetCaps);
  EXPECT_EQ(stop(), 0) << "nothing started";
  ASSERT_EQ(start(1), 1);
  EXPECT_EQ(start(1), 1) << "starting the running device again is fine";
  EXPECT_EQ(start(2), 1) << "starting another switches to it";
  EXPECT_EQ(start(5), 0);
  EXPECT_EQ(caps(), 0x180Eu) << "a failed start keeps the running device";
  EXPECT_EQ(stop(), 1);
  EXPECT_EQ(stop(), 0);
  EXPECT_EQ(caps(), 0u);
  int32_t level = 0, quality = 0;
  EXPECT_EQ(SIM_FN(lib, GetSignal)(&level, &quality), 0);
  EXPECT_EQ(SIM_FN(lib, SetChannel)(11778000, 27500, 0, 3, 9750000, 10600000, 11700000), 0);
}

}  // namespace
