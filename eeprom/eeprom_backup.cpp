// The "EEPROM access" group: its buttons with the size chosen in its list.
#include "app/quorvex_demo_dlg.h"
#include "eeprom/eeprom_files.h"
#include "eeprom/eeprom_transfer.h"

uint16_t CQuorvexDemoDlg::ChosenEepromSize() const {
  return EepromSizeFromItemData(m_cbEepromSize.GetItemData(m_cbEepromSize.GetCurSel()));
}

void CQuorvexDemoDlg::OnEepromRead() { SaveEeprom(m_ui, ChosenEepromSize()); }

void CQuorvexDemoDlg::OnEepromWrite() { RestoreEeprom(m_ui, ChosenEepromSize()); }
