#include "framework/controls.h"

#include "framework/dialog.h"

namespace fw {

void Control::EnableWindow(bool enable) { dialog_->Window().EnableControl(id_, enable); }
bool Control::IsWindowEnabled() const { return dialog_->Window().IsControlEnabled(id_); }
void Control::SetWindowText(const std::string& text) { dialog_->Window().SetText(id_, text); }
std::string Control::GetWindowText() const { return dialog_->Window().GetText(id_); }

void Button::SetCheck(int state) { dialog_->Window().SetCheck(id_, state); }
int Button::GetCheck() const { return dialog_->Window().GetCheck(id_); }

int ListControl::AddString(const std::string& text) {
  return dialog_->Window().AddString(id_, text);
}
void ListControl::AddStrings(std::vector<std::string> texts) {
  dialog_->Window().AddStrings(id_, std::move(texts));
}
int ListControl::GetCount() const { return dialog_->Window().GetCount(id_); }
int ListControl::GetCurSel() const { return dialog_->Window().GetCurSel(id_); }
int ListControl::SetCurSel(int index) { return dialog_->Window().SetCurSel(id_, index); }
int ListControl::SetItemData(int index, uintptr_t data) {
  return dialog_->Window().SetItemData(id_, index, data);
}
uintptr_t ListControl::GetItemData(int index) const {
  return dialog_->Window().GetItemData(id_, index);
}
std::string ListControl::GetItemText(int index) const {
  return dialog_->Window().GetItemText(id_, index);
}
void ListControl::ResetContent() { dialog_->Window().ResetContent(id_); }

int ListBox::SetTopIndex(int index) { return dialog_->Window().SetTopIndex(id_, index); }

}  // namespace fw
