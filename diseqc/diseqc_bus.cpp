#include "diseqc/diseqc_bus.h"

#include "tuner/tuner_api.h"
#include "tuner/ui_port.h"

void SendDiseqc(UiPort& ui, const DiseqcSettings& s, const std::optional<uint32_t>& caps) {
  DiseqcEntries e;
  e.sendDiSEqC = TunerApi.SendDiSEqC != nullptr;
  e.sendDiseqCmd = TunerApi.SendDiseqCmd != nullptr;
  e.sendDiseqCmdEx = TunerApi.SendDiseqCmdEx != nullptr;
  // A device that takes DiSEqC 1.x messages but not the 1.0 command through
  // SendDiSEqC gets the committed switch command as a message.
  e.committedAsMessage = caps && (*caps & QV_CAP_DISEQC10) == 0 && (*caps & QV_CAP_DISEQC1X) != 0;

  // Zeroed so that a library reporting more bytes than it wrote shows zeros,
  // never stale memory.
  uint8_t reply[kDiseqcReplyBufferSize] = {};
  for (const DiseqcStep& step : PlanDiseqcSend(s, e)) {
    if (!step.before.empty()) ui.Log(step.before);
    DiseqcMessage message = step.message;
    switch (step.call) {
      case DiseqcCall::SendDiSEqC:
        ui.Log(DiseqcOutcomeLine(step, TunerApi.SendDiSEqC(step.mode, step.data) != 0));
        break;
      case DiseqcCall::SendDiseqCmd:
        ui.Log(DiseqcOutcomeLine(step, TunerApi.SendDiseqCmd(message.data(), 4) != 0));
        break;
      case DiseqcCall::SendDiseqCmdEx: {
        // Reset for every exchange: a library that stores no count when
        // nothing answers must not make this item show an earlier reply.
        uint32_t count = 0;
        const bool ok = TunerApi.SendDiseqCmdEx(message.data(), 4, reply, &count) != 0;
        ui.Log(DiseqcOutcomeLine(step, ok));
        if (ok) ui.Log(DiseqcReplyLine(reply, count));
        break;
      }
    }
  }
}

void ClearDisabledDiseqcOptions(UiPort& ui, const std::vector<DiseqcOption>& options) {
  // A tick the user cannot take back on a disabled box would still act on
  // the next Send, with a command the device does not offer.
  for (const DiseqcOption& o : options) {
    if (ui.IsEnabled(o.box) || (*o.member == 0 && ui.Checked(o.box) == 0)) continue;
    *o.member = 0;
    ui.Check(o.box, 0);
    for (int id : o.dependents) {
      if (id != 0) ui.Enable(id, false);
    }
  }
}
