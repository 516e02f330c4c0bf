// "Tune": the transponder the tuning fields describe.
#include "app/quorvex_demo_dlg.h"
#include "tuning/tune_call.h"

void CQuorvexDemoDlg::OnTune() {
  // A field that fails validation has had its message; the members keep what
  // they held, and the press goes on with those.
  UpdateData(true);
  TuneFields f;
  f.freq = m_nFreq, f.symRate = m_nSymRate, f.pol = m_nPol, f.fec = m_nFec;
  f.lofLow = m_nLofLow, f.lofHigh = m_nLofHigh, f.lofSwitch = m_nLofSwitch;
  f.modulation = m_nModulation, f.inversion = m_nInversion, f.pilot = m_nPilot;
  f.rollOff = m_nRollOff;
  if (TunePress(m_ui, f)) m_signalHistory.MarkTune();
}
