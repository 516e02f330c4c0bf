// An open dialog window kept entirely in memory: the controls of its template
// and their state, its timers and its system menu. What a real window would
// show on screen, and what its user would answer, goes through its hook.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "framework/dialog.h"
#include "framework/dialog_life.h"
#include "framework/host.h"
#include "framework/system_menu.h"
#include "hosts/headless/control_state.h"
#include "hosts/headless/window_hook.h"

namespace headless {

using Clock = std::chrono::steady_clock;

class HeadlessWindow : public fw::ModalWindow {
 public:
  using ControlState = headless::ControlState;

  struct Timer {
    uintptr_t id = 0;
    std::chrono::milliseconds period{0};
    Clock::time_point due;
    uint64_t order = 0;  // breaks ties between timers due at the same moment
  };

  // The controls of the dialog's template, as created: their lists are empty
  // until the dialog starts (fw::StartDialog gives them the template's
  // entries). `hook` outlives the window.
  HeadlessWindow(fw::Dialog& dialog, WindowHook& hook);

  fw::Dialog& Owner() const { return dialog_; }

  // The control with this id, or nullptr (controls without an id are never found).
  ControlState* Find(int id);
  const ControlState* Find(int id) const;

  // The timer due first, or nothing when none runs.
  std::optional<Timer> NextTimer() const;
  // Moves a timer that has just fired on to its next period.
  void Advance(uintptr_t timerId);

  // The command of the system menu's About entry, when one was appended.
  std::optional<unsigned> AboutCommand() const;

  // fw::ModalWindow
  bool Ended() const override { return ended_; }
  int Result() const override { return result_; }
  bool HasControl(int id) const override;
  void EnableControl(int id, bool enable) override;
  bool IsControlEnabled(int id) const override;
  void SetText(int id, const std::string& text) override;
  std::string GetText(int id) const override;
  void SetCheck(int id, int state) override;
  int GetCheck(int id) const override;
  int AddString(int id, const std::string& text) override;
  void AddStrings(int id, std::vector<std::string> texts) override;
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

 private:
  ControlState* FindList(int id);
  const ControlState* FindList(int id) const;
  // The control the program reads, told to the hook.
  const ControlState* Reading(int id) const;

  fw::Dialog& dialog_;
  WindowHook& hook_;
  std::vector<ControlState> controls_;
  std::vector<Timer> timers_;
  uint64_t timerOrder_ = 0;
  bool hasSystemMenu_ = false;
  fw::SystemMenuEntries systemMenu_;
  bool ended_ = false;
  int result_ = fw::kIdCancel;
};

}  // namespace headless
