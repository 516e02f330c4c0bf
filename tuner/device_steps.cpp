#include "tuner/device_steps.h"

#include "res/resource_ids.h"
#include "tuner/tuner_api.h"

ExportedFeatures ExportedFeatures::FromTunerApi() {
  ExportedFeatures f;
  f.getCaps = TunerApi.GetCaps != nullptr;
  f.misSel = TunerApi.MISSel != nullptr;
  f.getSignalExEx = TunerApi.GetSignalExEx != nullptr;
  f.getSignalEx = TunerApi.GetSignalEx != nullptr;
  f.sendDiSEqC = TunerApi.SendDiSEqC != nullptr;
  f.sendDiseqCmd = TunerApi.SendDiseqCmd != nullptr;
  f.sendDiseqCmdEx = TunerApi.SendDiseqCmdEx != nullptr;
  f.setRemoteControl = TunerApi.SetRemoteControl != nullptr;
  f.getMac = TunerApi.GetMAC != nullptr;
  f.getEeprom = TunerApi.GetEEPROM != nullptr;
  f.setEeprom = TunerApi.SetEEPROM != nullptr;
  return f;
}

namespace {

using K = DeviceStepKind;

// Controls governed by `bits` when the library reports capabilities, else
// enabled outright; then the line, logged only when the bits are present.
void AddGoverned(std::vector<DeviceStep>& s, bool caps, std::initializer_list<int> controls,
                 uint32_t bits, const char* text) {
  for (int id : controls) s.push_back({caps ? K::SetFromCaps : K::Enable, id, bits});
  s.push_back({caps ? K::LogIfCaps : K::Log, 0, bits, text});
}

}  // namespace

std::vector<DeviceStep> DeviceControlSteps(const ExportedFeatures& f) {
  std::vector<DeviceStep> s;
  const bool caps = f.getCaps;

  if (f.misSel && caps) {
    s.push_back({K::SetFromCaps, IDC_STATIC_MIS, QV_CAP_MIS});
    s.push_back({K::SetFromCaps, IDC_LIST_MIS, QV_CAP_MIS});
    s.push_back({K::ApplyMisIfCaps, 0, QV_CAP_MIS, "MISSel() used. MIS filtering supported."});
  }

  for (int id : {IDC_STATIC_RFLEVEL, IDC_STATIC_SNR, IDC_STATIC_BER}) {
    s.push_back({K::Disable, id});
  }
  if (f.getSignalExEx) {
    AddGoverned(s, caps, {IDC_STATIC_RFLEVEL, IDC_STATIC_SNR, IDC_STATIC_BER},
                QV_CAP_EXT_STATISTICS,
                "GetSignalExEx() used. RFLevel/SNR/BER reporting supported.");
  } else if (f.getSignalEx) {
    AddGoverned(s, caps, {IDC_STATIC_SNR, IDC_STATIC_BER}, QV_CAP_EXT_STATISTICS,
                "GetSignalEx() used. SNR/BER reporting supported.");
  }

  for (int id : {IDC_LIST_DISEQC10, IDC_LIST_DISEQC11, IDC_LIST_DISEQC12}) {
    s.push_back({K::SelectFirst, id});
  }

  if (f.sendDiSEqC) {
    if (caps) {
      s.push_back({K::SetFromCaps, IDC_BTN_DISEQC_SEND, 0x00F0});
      s.push_back({K::SetFromCaps, IDC_CHK_SIMPLE, QV_CAP_TONE_BURST});
      s.push_back({K::SetFromCaps, IDC_CHK_DISEQC10, QV_CAP_DISEQC10});
      s.push_back({K::SelectFirst, IDC_LIST_DISEQC10});
      s.push_back(
          {K::LogIfCaps, 0, QV_CAP_TONE_BURST, "SendDiSEqC() used. Simple tone burst supported."});
      s.push_back({K::LogIfCaps, 0, QV_CAP_DISEQC10, "SendDiSEqC() used. DiSEqC 1.0 supported."});
    } else {
      for (int id : {IDC_BTN_DISEQC_SEND, IDC_CHK_SIMPLE, IDC_CHK_DISEQC10}) {
        s.push_back({K::Enable, id});
      }
      s.push_back({K::SelectFirst, IDC_LIST_DISEQC10});
      s.push_back({K::Log, 0, 0, "SendDiSEqC() used. DiSEqC 1.0 & Simple tone burst supported."});
    }
  }

  if (f.sendDiseqCmd) {
    if (caps) s.push_back({K::SetFromCaps, IDC_BTN_DISEQC_SEND, 0x00F0});
    if (!caps) s.push_back({K::Enable, IDC_BTN_DISEQC_SEND});
    AddGoverned(s, caps, {IDC_CHK_DISEQC10, IDC_CHK_DISEQC11, IDC_CHK_DISEQC12}, QV_CAP_DISEQC1X,
                "SendDiseqCmd() used. DiSEqC 1.x supported.");
  }

  if (f.sendDiseqCmdEx) {
    if (caps) {
      s.push_back({K::SetFromCaps, IDC_BTN_DISEQC_SEND, 0x00F0});
      for (int id : {IDC_CHK_DISEQC10, IDC_CHK_DISEQC11, IDC_CHK_DISEQC12}) {
        s.push_back({K::SetFromCaps, id, QV_CAP_DISEQC1X | QV_CAP_DISEQC2X});
      }
      s.push_back({K::SetFromCaps, IDC_CHK_RECEIVE_REPLY, QV_CAP_DISEQC2X});
      s.push_back({K::LogIfCaps, 0, QV_CAP_DISEQC2X, "SendDiseqCmd() used. DiSEqC 2.x supported."});
    } else {
      for (int id : {IDC_BTN_DISEQC_SEND, IDC_CHK_DISEQC10, IDC_CHK_DISEQC11, IDC_CHK_DISEQC12,
                     IDC_CHK_RECEIVE_REPLY}) {
        s.push_back({K::Enable, id});
      }
      s.push_back({K::Log, 0, 0, "SendDiseqCmd() used. DiSEqC 2.x supported."});
    }
  }

  if (f.setRemoteControl) {
    AddGoverned(s, caps, {IDC_CHK_RC_ENABLE, IDC_LIST_RC_TYPE}, QV_CAP_REMOTE_CONTROL,
                "SetRemoteControl() used. RC supported.");
  }

  if (f.getMac) s.push_back({caps ? K::ReadMacIfCaps : K::ReadMac, 0, QV_CAP_MAC});

  if (f.getEeprom)
    s.push_back({caps ? K::SetFromCaps : K::Enable, IDC_BTN_EEPROM_READ, QV_CAP_EEPROM});
  if (f.setEeprom)
    s.push_back({caps ? K::SetFromCaps : K::Enable, IDC_BTN_EEPROM_WRITE, QV_CAP_EEPROM});
  return s;
}

void RunDeviceSteps(const std::vector<DeviceStep>& steps, DeviceStepTarget& t) {
  for (const DeviceStep& step : steps) {
    switch (step.kind) {
      case K::SetFromCaps:
        t.EnableControl(step.control, (t.Caps() & step.bits) != 0);
        break;
      case K::Enable:
        t.EnableControl(step.control, true);
        break;
      case K::Disable:
        t.EnableControl(step.control, false);
        break;
      case K::Log:
        t.Log(step.text);
        break;
      case K::LogIfCaps:
        if ((t.Caps() & step.bits) != 0) t.Log(step.text);
        break;
      case K::SelectFirst:
        t.SelectFirst(step.control);
        break;
      case K::ApplyMisIfCaps:
        if ((t.Caps() & step.bits) != 0) {
          t.Log(step.text);
          t.ApplyMis();
        }
        break;
      case K::ReadMac:
        t.ReadMac();
        break;
      case K::ReadMacIfCaps:
        if ((t.Caps() & step.bits) != 0) t.ReadMac();
        break;
    }
  }
}
