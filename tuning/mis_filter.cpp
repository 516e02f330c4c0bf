#include <string>

#include "app/quorvex_demo_dlg.h"
#include "tuner/tuner_api.h"
#include "tuning/mis_selection.h"

void CQuorvexDemoDlg::OnMisFilterChanged() {
  if (TunerApi.MISSel == nullptr) return;
  const MisSelection s = MisSelectionFor(m_cbMis.GetCurSel());
  const int32_t result = TunerApi.MISSel(s.enable, s.streamId, s.mask);
  AddLog("MISSel(" + std::to_string(s.shown) + ") " + (result != 0 ? "success." : "failed !"));
}
