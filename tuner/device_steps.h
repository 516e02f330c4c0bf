// What a device start does to the capability-driven controls: which controls
// are set from which capability bits, which lines are logged, in which order.
// The sequence depends only on the exported entry points; the mask is asked
// for afresh at every test, as the device may change its answer.
#pragma once

#include <cstdint>
#include <vector>

// Which optional entry points the library exports.
struct ExportedFeatures {
  bool getCaps = false;
  bool misSel = false;
  bool getSignalExEx = false;
  bool getSignalEx = false;
  bool sendDiSEqC = false;
  bool sendDiseqCmd = false;
  bool sendDiseqCmdEx = false;
  bool setRemoteControl = false;
  bool getMac = false;
  bool getEeprom = false;
  bool setEeprom = false;

  // The features of the library bound in TunerApi.
  static ExportedFeatures FromTunerApi();
};

enum class DeviceStepKind {
  SetFromCaps,     // enable `control` when the mask has any of `bits`
  Enable,          // enable `control`
  Disable,         // disable `control`
  Log,             // log `text`
  LogIfCaps,       // log `text` when the mask has `bits`
  SelectFirst,     // select entry 0 of list `control`
  ApplyMisIfCaps,  // when the mask has `bits`: log `text`, apply the MIS choice
  ReadMac,         // log "GetMAC() used." and report the MAC address
  ReadMacIfCaps,   // ReadMac when the mask has `bits`
};

struct DeviceStep {
  DeviceStepKind kind;
  int control = 0;
  uint32_t bits = 0;
  const char* text = nullptr;
};

// The steps after a successful start, in order.
std::vector<DeviceStep> DeviceControlSteps(const ExportedFeatures& features);

// What the steps act on.
class DeviceStepTarget {
 public:
  virtual ~DeviceStepTarget() = default;
  virtual uint32_t Caps() = 0;
  virtual void EnableControl(int id, bool enable) = 0;
  virtual void Log(const char* text) = 0;
  virtual void SelectFirst(int id) = 0;
  virtual void ApplyMis() = 0;
  virtual void ReadMac() = 0;
};

// Carries the steps out on a target.
void RunDeviceSteps(const std::vector<DeviceStep>& steps, DeviceStepTarget& target);
