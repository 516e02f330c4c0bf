// One open Win32 dialog as the framework sees it: controls addressed by id.
#pragma once

#include <windows.h>

#include "platform/win32_undef.h"
// clang-format off
#include "framework/dialog.h"
#include "framework/host.h"
// clang-format on

namespace win32host {

class Win32Host;

class Win32Window : public fw::DialogWindow {
 public:
  Win32Window(fw::Dialog& dialog, Win32Host& host, HWND hwnd)
      : dialog_(dialog), host_(host), hwnd_(hwnd) {}

  HWND Handle() const { return hwnd_; }
  fw::Dialog& Owner() const { return dialog_; }
  // Whether PaintIconic painted during the current paint message.
  bool TakePainted() {
    const bool p = painted_;
    painted_ = false;
    return p;
  }

  bool HasControl(int id) const override;
  void EnableControl(int id, bool enable) override;
  bool IsControlEnabled(int id) const override;
  void SetText(int id, const std::string& text) override;
  std::string GetText(int id) const override;
  void SetCheck(int id, int state) override;
  int GetCheck(int id) const override;
  int AddString(int id, const std::string& text) override;
  int GetCount(int id) const override;
  int GetCurSel(int id) const override;
  int SetCurSel(int id, int index) override;
  int SetItemData(int id, int index, uintptr_t data) override;
  uintptr_t GetItemData(int id, int index) const override;
  std::string GetItemText(int id, int index) const override;
  void ResetContent(int id) override;
  int SetTopIndex(int id, int index) override;
  void SetFocus(int id) override;
  bool AppendSystemMenu(unsigned command, const std::string& text) override;
  void SetIcon(fw::IconHandle icon, bool big) override;
  bool IsIconic() const override;
  void PaintIconic(fw::IconHandle icon) override;
  int MessageBox(const std::string& text, const std::string& caption, fw::BoxIcon icon) override;
  std::optional<std::string> FileDialog(const fw::FileDialogRequest& request) override;
  uintptr_t SetTimer(uintptr_t id, unsigned milliseconds) override;
  bool KillTimer(uintptr_t id) override;
  void EndDialog(int result) override;
  int RunModal(fw::Dialog& child) override;
  fw::ChartWindow* OpenChartWindow(fw::ChartWindowModel& model) override;  // chart_window_win32.cpp
  fw::SweepWindow* OpenSweepWindow(fw::SweepWindowModel& model) override;  // sweep_window_win32.cpp

 private:
  HWND Item(int id) const;
  fw::ControlKind Kind(int id) const;
  bool IsCombo(int id) const { return Kind(id) == fw::ControlKind::ComboBox; }
  bool IsListBox(int id) const { return Kind(id) == fw::ControlKind::ListBox; }
  LRESULT Send(int id, UINT message, WPARAM w = 0, LPARAM l = 0) const;

  fw::Dialog& dialog_;
  Win32Host& host_;
  HWND hwnd_;
  bool painted_ = false;
};

// Text conversions at the boundary: the program's texts are UTF-8; paths are
// in the code page the 8-bit file functions use.
std::wstring ToWide(const std::string& text, unsigned codePage = CP_UTF8);
std::string FromWide(const std::wstring& text, unsigned codePage = CP_UTF8);
// The window icon of a resource id, in a system size (cached by the system).
HICON LoadAppIcon(fw::IconHandle id, bool big);
UINT BoxStyle(fw::BoxIcon icon);

}  // namespace win32host
