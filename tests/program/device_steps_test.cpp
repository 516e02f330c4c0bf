// What a device start does to the capability-governed controls, for libraries
// of different generations and devices of different abilities.
#include "tuner/device_steps.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "res/resource_ids.h"

namespace {

struct Recorder : DeviceStepTarget {
  uint32_t mask = 0;
  int capsCalls = 0;
  std::map<int, bool> enabled;
  std::vector<std::string> events;  // logs, selections, MIS and MAC in order

  uint32_t Caps() override {
    ++capsCalls;
    return mask;
  }
  void EnableControl(int id, bool e) override { enabled[id] = e; }
  void Log(const char* text) override { events.push_back(text); }
  void SelectFirst(int id) override { events.push_back("select " + std::to_string(id)); }
  void ApplyMis() override { events.push_back("MIS"); }
  void ReadMac() override { events.push_back("MAC"); }
};

ExportedFeatures All() {
  ExportedFeatures f;
  f.getCaps = f.misSel = f.getSignalExEx = f.getSignalEx = f.sendDiSEqC = f.sendDiseqCmd =
      f.sendDiseqCmdEx = f.setRemoteControl = f.getMac = f.getEeprom = f.setEeprom = true;
  return f;
}

Recorder RunSteps(const ExportedFeatures& f, uint32_t mask) {
  Recorder r;
  r.mask = mask;
  RunDeviceSteps(DeviceControlSteps(f), r);
  return r;
}

const std::vector<std::string> kSelects = {"select 1036", "select 1038", "select 1040"};

TEST(DeviceSteps, EveryCapabilityOnAFullLibrary) {
  const Recorder r = RunSteps(All(), 0x18FE);
  const std::vector<std::string> expected = {
      "MISSel() used. MIS filtering supported.",
      "MIS",
      "GetSignalExEx() used. RFLevel/SNR/BER reporting supported.",
      "select 1036",
      "select 1038",
      "select 1040",
      "select 1036",
      "SendDiSEqC() used. Simple tone burst supported.",
      "SendDiSEqC() used. DiSEqC 1.0 supported.",
      "SendDiseqCmd() used. DiSEqC 1.x supported.",
      "SendDiseqCmd() used. DiSEqC 2.x supported.",
      "SetRemoteControl() used. RC supported.",
      "MAC"};
  EXPECT_EQ(r.events, expected);
  for (int id :
       {1066, 1065, 1069, 1016, 1017, 1041, 1034, 1035, 1037, 1039, 1045, 1044, 1046, 1063, 1064}) {
    EXPECT_TRUE(r.enabled.at(id)) << id;
  }
}

TEST(DeviceSteps, MaskZeroDisablesEveryGovernedControlAndAsksTheMaskAtEachTest) {
  const Recorder r = RunSteps(All(), 0);
  std::vector<std::string> expected = kSelects;
  expected.push_back("select 1036");
  EXPECT_EQ(r.events, expected);  // no capability line, no MIS call, no MAC
  EXPECT_EQ(r.enabled.size(), 15u);
  for (const auto& [id, on] : r.enabled) EXPECT_FALSE(on) << id;
  // MIS 3, statistics 4, SendDiSEqC 5, SendDiseqCmd 5, SendDiseqCmdEx 6, RC 3, MAC 1, EEPROM 2.
  EXPECT_EQ(r.capsCalls, 29);
}

TEST(DeviceSteps, WithoutGetCapsEveryExportedFeatureIsOffered) {
  ExportedFeatures f = All();
  f.getCaps = false;
  const Recorder r = RunSteps(f, 0);
  EXPECT_EQ(r.capsCalls, 0);
  const std::vector<std::string> expected = {
      "GetSignalExEx() used. RFLevel/SNR/BER reporting supported.",
      "select 1036",
      "select 1038",
      "select 1040",
      "select 1036",
      "SendDiSEqC() used. DiSEqC 1.0 & Simple tone burst supported.",
      "SendDiseqCmd() used. DiSEqC 1.x supported.",
      "SendDiseqCmd() used. DiSEqC 2.x supported.",
      "SetRemoteControl() used. RC supported.",
      "MAC"};
  EXPECT_EQ(r.events, expected);
  EXPECT_EQ(r.enabled.count(1065), 0u);  // MISSel alone never touches the MIS list
  EXPECT_EQ(r.enabled.count(1066), 0u);
  for (const auto& [id, on] : r.enabled) EXPECT_TRUE(on) << id;
}

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

TEST(DeviceSteps, MacIsReadOnlyWithItsBit) {
  ExportedFeatures f;
  f.getCaps = f.getMac = true;
  std::vector<std::string> with = kSelects;
  with.push_back("MAC");
  EXPECT_EQ(RunSteps(f, 0x0004).events, with);
  EXPECT_EQ(RunSteps(f, 0x18FA).events, kSelects);
}

}  // namespace
