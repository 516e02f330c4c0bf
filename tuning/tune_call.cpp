#include "tuning/tune_call.h"

#include <string>

#include "tuner/tuner_api.h"
#include "tuner/ui_port.h"

int32_t CallTune(TuneEntry entry, const TuneArgs& a) {
  switch (entry) {
    case TuneEntry::SetChannelExEx:
      return TunerApi.SetChannelExEx(a.freqKHz, a.symbolRate, a.pol, a.fec, a.lofLowKHz,
                                     a.lofHighKHz, a.lofSwitchKHz, a.modulation, a.inversion,
                                     a.pilot, a.rollOff);
    case TuneEntry::SetChannelEx:
      return TunerApi.SetChannelEx(a.freqKHz, a.symbolRate, a.pol, a.fec, a.lofLowKHz, a.lofHighKHz,
                                   a.lofSwitchKHz, a.modulation);
    case TuneEntry::SetChannel:
      break;
  }
  return TunerApi.SetChannel(a.freqKHz, a.symbolRate, a.pol, a.fec, a.lofLowKHz, a.lofHighKHz,
                             a.lofSwitchKHz);
}

bool TunePress(UiPort& ui, const TuneFields& f) {
  const TuneEntry entry =
      ChooseTuneEntry(TunerApi.SetChannelExEx != nullptr, TunerApi.SetChannelEx != nullptr);
  for (const std::string& line : TuneParameterLines(f, entry)) ui.Log(line);
  // The library's arguments are 32-bit kHz and symbols per second; a larger
  // entry would wrap to a different frequency rather than fail.
  if (const auto tooLarge = TuneRangeError(f)) {
    ui.Box(*tooLarge, "Error", fw::BoxIcon::Stop);
    return false;
  }
  if (CallTune(entry, TuneArgsFor(f)) == 0) {
    ui.Box(TuneFailureText(entry), "Error", fw::BoxIcon::Stop);
    return false;
  }
  ui.Log(TuneSuccessText(entry));
  return true;
}
