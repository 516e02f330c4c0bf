// Control objects attached to dialog items by id, like the classic framework's
// CButton / CComboBox / CListBox wrappers. They hold no state of their own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fw {

class Dialog;

// Any control: enabled state and window text.
class Control {
 public:
  // Attaches to a dialog item (done by data exchange).
  void Attach(Dialog* dialog, int id) {
    dialog_ = dialog;
    id_ = id;
  }
  int Id() const { return id_; }
  bool IsAttached() const { return dialog_ != nullptr; }
  void EnableWindow(bool enable = true);
  bool IsWindowEnabled() const;
  void SetWindowText(const std::string& text);
  std::string GetWindowText() const;

 protected:
  Dialog* dialog_ = nullptr;
  int id_ = 0;
};

// A check box or radio button.
class Button : public Control {
 public:
  void SetCheck(int state);
  int GetCheck() const;
};

// List operations shared by list boxes and combo boxes.
class ListControl : public Control {
 public:
  int AddString(const std::string& text);
  void AddStrings(std::vector<std::string> texts);
  int GetCount() const;
  int GetCurSel() const;
  int SetCurSel(int index);
  int SetItemData(int index, uintptr_t data);
  uintptr_t GetItemData(int index) const;
  std::string GetItemText(int index) const;
  void ResetContent();
};

// A drop-down list.
class ComboBox : public ListControl {};

// A list box.
class ListBox : public ListControl {
 public:
  int SetTopIndex(int index);
};

}  // namespace fw
