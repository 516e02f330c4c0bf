#include <string>

#include "app/quorvex_demo_dlg.h"
#include "tuner/tuner_api.h"
#include "tuning/tune_request.h"

void CQuorvexDemoDlg::OnTune() {
  // A field that fails validation has had its message; the members keep what
  // they held, and the press goes on with those.
  UpdateData(true);

  TuneFields f;
  f.freq = m_nFreq, f.symRate = m_nSymRate, f.pol = m_nPol, f.fec = m_nFec;
  f.lofLow = m_nLofLow, f.lofHigh = m_nLofHigh, f.lofSwitch = m_nLofSwitch;
  f.modulation = m_nModulation, f.inversion = m_nInversion, f.pilot = m_nPilot;
  f.rollOff = m_nRollOff;

  const TuneEntry entry =
      ChooseTuneEntry(TunerApi.SetChannelExEx != nullptr, TunerApi.SetChannelEx != nullptr);
  for (const std::string& line : TuneParameterLines(f, entry)) AddLog(line);

  // The library's arguments are 32-bit kHz and symbols per second; a larger
  // entry would wrap to a different frequency rather than fail.
  if (const auto tooLarge = TuneRangeError(f)) {
    MessageBox(*tooLarge, "Error", fw::BoxIcon::Stop);
    return;
  }

  const TuneArgs a = TuneArgsFor(f);
  int32_t result = 0;
  switch (entry) {
    case TuneEntry::SetChannelExEx:
      result =
          TunerApi.SetChannelExEx(a.freqKHz, a.symbolRate, a.pol, a.fec, a.lofLowKHz, a.lofHighKHz,
                                  a.lofSwitchKHz, a.modulation, a.inversion, a.pilot, a.rollOff);
      break;
    case TuneEntry::SetChannelEx:
      result = TunerApi.SetChannelEx(a.freqKHz, a.symbolRate, a.pol, a.fec, a.lofLowKHz,
                                     a.lofHighKHz, a.lofSwitchKHz, a.modulation);
      break;
    case TuneEntry::SetChannel:
      result = TunerApi.SetChannel(a.freqKHz, a.symbolRate, a.pol, a.fec, a.lofLowKHz, a.lofHighKHz,
                                   a.lofSwitchKHz);
      break;
  }

  if (result != 0) {
    m_signalHistory.MarkTune();
    AddLog(TuneSuccessText(entry));
  } else {
    MessageBox(TuneFailureText(entry), "Error", fw::BoxIcon::Stop);
  }
}
