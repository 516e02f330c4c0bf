// An open dialog window kept entirely in memory: the controls of its template
// and their state, its timers and its system menu. What a real window would
// show on screen goes to the host's transcript instead.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "framework/dialog.h"
#include "framework/host.h"
#include "framework/list_model.h"
#include "framework/system_menu.h"

namespace headless {

class HeadlessHost;

using Clock = std::chrono::steady_clock;

class HeadlessWindow : public fw::DialogWindow {
 public:
  struct ControlState {
    int id = 0;
    fw::ControlKind kind = fw::ControlKind::Static;
    uint32_t style = 0;
    bool enabled = true;
    std::string text;
    int check = 0;
    fw::ListModel list;
  };

  struct Timer {
    uintptr_t id = 0;
    std::chrono::milliseconds period{0};
    Clock::time_point due;
    uint64_t order = 0;  // breaks ties between timers due at the same moment
  };

  // Real windows do not run timers faster than this; a zero period would
  // otherwise keep a wait busy forever.
  static constexpr std::chrono::milliseconds kMinTimerPeriod{10};

  HeadlessWindow(fw::Dialog& dialog, HeadlessHost& host);

  fw::Dialog& Owner() const { return dialog_; }
  bool Ended() const { return ended_; }
  int Result() const { return result_; }

  // The control with this id, or nullptr (controls without an id are never found).
  ControlState* Find(int id);
  const ControlState* Find(int id) const;

  // The timer due first, or nothing when none runs.
  std::optional<Timer> NextTimer() const;
  // Moves a timer that has just fired on to its next period.
  void Advance(uintptr_t timerId);

  // The command of the system menu's About entry, when one was appended.
  std::optional<unsigned> AboutCommand() const;

  // fw::DialogWindow
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

  fw::Dialog& dialog_;
  HeadlessHost& host_;
  std::vector<ControlState> controls_;
  std::vector<Timer> timers_;
  uint64_t timerOrder_ = 0;
  bool hasSystemMenu_ = false;
  fw::SystemMenuEntries systemMenu_;
  bool ended_ = false;
  int result_ = fw::kIdCancel;
};

// Whether a control kind holds a list of entries.
bool IsList(fw::ControlKind kind);
// Whether a control kind is a button a user can click.
bool IsButton(fw::ControlKind kind);
// A control kind as a script author would call it ("edit", "list box", ...).
const char* KindName(fw::ControlKind kind);

}  // namespace headless
