// Capability-governed controls for export/mask combinations the virtual
// card's variants do not reach (the full, legacy and mask-zero starts are
// scenarios): guards a wrong bit per control and the wrong generation winning.
#include "tuner/device_steps.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "res/resource_ids.h"

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
