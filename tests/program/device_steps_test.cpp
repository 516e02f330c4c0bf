// Capability-governed controls for export/mask combinations the virtual
// card's variants do not reach (the full, legacy and mask-zero starts are
// scenarios): guards a wrong bit per control and the wrong generation winning.
#include "tuner/device_steps.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <thread>
#include <vector>

#include "res/resource_ids.h"
#include "tests/program/fake_ui.h"
#include "tuner/device_control.h"

namespace {

struct Recorder : DeviceStepTarget {
  uint32_t mask = 0;
  std::map<int, bool> enabled;
  std::vector<std::string> events;  // logs, selections, MIS and MAC in order

  uint32_t Caps() override { return mask; }
  void EnableControl(int id, bool e) override { enabled[id] = e; }
  void Log(const char* text) override { events.push_back(text); }
  void SelectFirst(int id) override { events.push_back("select " + std::to_string(id)); }
  void ApplyMis() override { events.push_back("MIS"); }
  void ReadMac() override { events.push_back("MAC"); }
};

Recorder RunSteps(const ExportedFeatures& f, uint32_t mask) {
  Recorder r;
  r.mask = mask;
  RunDeviceSteps(DeviceControlSteps(f), r);
  return r;
}

const std::vector<std::string> kSelects = {"select 1036", "select 1038", "select 1040"};

// Guards a wrong mask bit per control and the wrong generation deciding.
TEST(DeviceSteps, ControlStatesPerLibraryAndMask) {
  struct Case {
    const char* name;
    ExportedFeatures features;
    uint32_t mask;
    std::map<int, bool> expected;  // only the controls listed are checked
    std::vector<int> untouched;
  };
  ExportedFeatures burstOnly;
  burstOnly.getCaps = burstOnly.sendDiSEqC = true;
  ExportedFeatures burstAndCmd = burstOnly;
  burstAndCmd.sendDiseqCmd = true;
  ExportedFeatures exOnly;
  exOnly.getCaps = exOnly.getSignalEx = true;
  ExportedFeatures exExAndEx = exOnly;
  exExAndEx.getSignalExEx = true;
  ExportedFeatures replyOnly;
  replyOnly.getCaps = replyOnly.sendDiseqCmdEx = true;
  ExportedFeatures eepromRead;
  eepromRead.getCaps = eepromRead.getEeprom = true;

  const Case cases[] = {
      {"1.0 through SendDiSEqC",
       burstOnly,
       0x20,
       {{1041, true}, {1034, false}, {1035, true}},
       {1037}},
      // The last exported generation decides 1035: SendDiseqCmd needs 0x40.
      {"SendDiseqCmd overrides 1.0",
       burstAndCmd,
       0x20,
       {{1041, true}, {1035, false}, {1037, false}},
       {}},
      {"SNR/BER without RF level", exOnly, 0x08, {{1069, false}, {1016, true}, {1017, true}}, {}},
      // GetSignalEx is not considered when GetSignalExEx is exported.
      {"ExEx bit clear", exExAndEx, 0x00, {{1069, false}, {1016, false}, {1017, false}}, {}},
      {"2.x only by 0x80", replyOnly, 0x80, {{1041, true}, {1035, true}, {1045, true}}, {1034}},
      {"1.x without reply", replyOnly, 0x40, {{1035, true}, {1039, true}, {1045, false}}, {}},
      {"EEPROM read only", eepromRead, 0x1000, {{1063, true}}, {1064, 1044}},
  };
  for (const Case& c : cases) {
    const Recorder r = RunSteps(c.features, c.mask);
    for (const auto& [id, on] : c.expected) {
      ASSERT_EQ(r.enabled.count(id), 1u) << c.name << " " << id;
      EXPECT_EQ(r.enabled.at(id), on) << c.name << " " << id;
    }
    for (int id : c.untouched) EXPECT_EQ(r.enabled.count(id), 0u) << c.name << " " << id;
  }
}

// Guards reading the MAC without its bit.
TEST(DeviceSteps, MacIsReadOnlyWithItsBit) {
  ExportedFeatures f;
  f.getCaps = f.getMac = true;
  std::vector<std::string> with = kSelects;
  with.push_back("MAC");
  EXPECT_EQ(RunSteps(f, 0x0004).events, with);
  EXPECT_EQ(RunSteps(f, 0x18FA).events, kSelects);
}

}  // namespace

namespace {

QvDeviceEnumCallbackEx g_kept = nullptr;

// Reports one device on the calling thread and one from a thread of its
// own, both during the call, and keeps the callback for later.
int32_t QV_API ReportingCheckForDVBExEx(QvDeviceEnumCallbackEx callback) {
  g_kept = callback;
  callback(1, "Here", 2);
  std::thread([callback] { callback(2, "There", 7); }).join();
  return 1;
}

// Guards a device reported from the library's own thread during the call
// being lost, and one reported after the call reaching the list.
TEST(DeviceDiscovery, KeepsWhatCameDuringTheCallFromAnyThreadAndNothingAfter) {
  const TunerApiRecord saved = TunerApi;
  TunerApi = TunerApiRecord{};
  TunerApi.CheckForDVBExEx = ReportingCheckForDVBExEx;
  FakeUi ui;
  DeviceControl devices(ui);
  std::vector<std::string> added;
  const auto add = [&](uint32_t id, const std::string& text) {
    added.push_back(std::to_string(id) + " " + text);
  };
  EXPECT_TRUE(devices.Discover(add));
  std::thread([] { g_kept(3, "Late", 2); }).join();
  g_kept(4, "Later", 2);
  EXPECT_EQ(added, (std::vector<std::string>{"1 Here - DVB-S2", "2 There - DVB-T2"}));
  EXPECT_EQ(ui.lines,
            (std::vector<std::string>{"CheckForDVBExEx() used.", "CheckForDVBExEx() success !"}));
  TunerApi = saved;
}

}  // namespace
