// The multistream list: the chosen input stream goes to the library.
#include "app/quorvex_demo_dlg.h"
#include "tuning/mis_selection.h"

void CQuorvexDemoDlg::OnMisFilterChanged() { SelectStream(m_ui, m_cbMis.GetCurSel()); }
