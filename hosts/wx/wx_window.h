// One dialog of the program as a real window: the controls of its template at
// their template rectangles, their notifications routed to the dialog, its
// timers, its system-menu entries and its modal loop.
#pragma once

#include <wx/dialog.h>
#include <wx/timer.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/dialog.h"
#include "framework/dialog_life.h"
#include "framework/host.h"
#include "framework/list_model.h"
#include "framework/system_menu.h"
#include "hosts/wx/rules.h"

class wxChoice;
class wxDC;

namespace wxhost {

class WxHost;
class LogList;

// Command of the system menu's Minimize entry, as the classic dialog names it.
inline constexpr unsigned kScMinimize = 0xF020;

class WxDialogWindow : public wxDialog, public fw::ModalWindow {
 public:
  WxDialogWindow(wxWindow* owner, fw::Dialog& dialog, WxHost& host);
  ~WxDialogWindow() override;

  // Runs the modal loop until the dialog ends; `onShown` is called once the
  // window is on screen and painted.
  void RunLoop(const std::function<void(WxDialogWindow&)>& onShown);
  // The window's dialog is going away: no message reaches it any more.
  void Detach();
  fw::Dialog* Owner() const { return dialog_; }
  // Called once when the dialog ends (the host stops taking posted work for
  // its main dialog at that moment, not when the loop gets round to exiting).
  std::function<void()> onEnded;

  // The wxWidgets control built for a template control id (nullptr if none),
  // and every control in template order with its template entry.
  wxWindow* Control(int id) const;
  const std::vector<std::pair<const fw::ControlTemplate*, wxWindow*>>& Controls() const {
    return controls_;
  }
  // The scale the template was laid out with (pixels per dialog unit).
  Scale LayoutScale() const { return scale_; }
  // The entries appended to the system menu (what the context menu offers).
  const std::vector<std::pair<unsigned, std::string>>& SystemMenuEntries() const {
    return systemMenu_;
  }
  // Shows the window menu at a point of the client area, as the right mouse
  // button, Shift+F10 or the menu key do.
  void ShowWindowMenu(const wxPoint& at);
  // Delivers a message to the dialog unless it has ended or gone.
  void Deliver(const fw::Message& message);

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
  fw::ChartWindow* OpenChartWindow(fw::ChartWindowModel& model) override;  // chart_frame.cpp
  fw::SweepWindow* OpenSweepWindow(fw::SweepWindowModel& model) override;  // sweep_frame.cpp

 private:
  // What the window keeps of a control id (the first control with it): its
  // kind, its widget (of the class Create makes for that kind), and a list's
  // entries with their item data.
  struct ControlRecord {
    fw::ControlKind kind = fw::ControlKind::Static;
    wxWindow* widget = nullptr;
    fw::ListModel* model = nullptr;  // lists: the message list's own lines, or `entries`
    fw::ListModel entries;           // a drop-down's; the widget shows only their texts
  };

  void Build();
  wxWindow* Create(const fw::ControlTemplate& c, const wxPoint& at, const wxSize& size);
  void Wire(const fw::ControlTemplate& c, wxWindow* w);
  const ControlRecord* Record(int id) const;
  ControlRecord* Record(int id);
  // The widget of a control of that kind, or nullptr.
  LogList* MessageList(int id) const;
  wxChoice* DropDown(int id) const;
  bool FocusIsOnPushButton() const;
  void OnCharHook(wxKeyEvent& event);
  void OnCloseWindow(wxCloseEvent& event);
  void OnContextMenu(wxContextMenuEvent& event);
  void OnPaintWindow(wxPaintEvent& event);
  void SysCommand(unsigned command);
  // The entries of a list box or drop-down list, or nullptr.
  fw::ListModel* Model(int id);
  const fw::ListModel* Model(int id) const;
  // Gives drop-down `id` its model's entries up to `count` (all: -1).
  void FillChoice(int id, int count = -1);

  fw::Dialog* dialog_;
  WxHost& host_;
  Scale scale_;
  std::vector<std::pair<const fw::ControlTemplate*, wxWindow*>> controls_;
  std::map<int, ControlRecord> records_;
  std::map<uintptr_t, std::unique_ptr<wxTimer>> timers_;
  fw::SystemMenuEntries systemMenu_;
  bool hasSystemMenu_ = false;
  // Until the window is up, a drop-down gets only the entries its selection
  // needs: GTK builds a menu item for every entry, and the main dialog's
  // 338 entries would hold the first paint back by over a dozen milliseconds.
  bool fillLater_ = true;
  fw::IconHandle iconShown_ = 0;
  wxDC* paintDc_ = nullptr;
  bool painted_ = false;
  bool ended_ = false;
  bool looping_ = false;
  int result_ = fw::kIdCancel;
};

}  // namespace wxhost
