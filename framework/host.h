// The seam between the program and a window system. The program only ever
// talks to these interfaces; each host (headless, wxWidgets, Win32) implements
// them.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/chart_window.h"
#include "framework/dialog_requests.h"
#include "framework/sweep_window.h"

namespace fw {

class Dialog;

// Opaque icon resource handle (0 = none).
using IconHandle = uintptr_t;

// One open dialog window, addressed by control id. Every call is made on the
// user-interface thread.
class DialogWindow {
 public:
  virtual ~DialogWindow() = default;

  // Whether a control with this id exists in the window.
  virtual bool HasControl(int id) const = 0;
  // Enables or disables a control.
  virtual void EnableControl(int id, bool enable) = 0;
  // Whether a control is enabled.
  virtual bool IsControlEnabled(int id) const = 0;
  // Sets a control's window text.
  virtual void SetText(int id, const std::string& text) = 0;
  // A control's window text (for a drop-down list: the selected entry's text).
  virtual std::string GetText(int id) const = 0;
  // Sets the check state of a check box or radio button.
  virtual void SetCheck(int id, int state) = 0;
  // The check state of a check box or radio button.
  virtual int GetCheck(int id) const = 0;

  // List and combo operations; indexes from 0, -1 for none or failure.
  // Appends an entry and returns its index.
  virtual int AddString(int id, const std::string& text) = 0;
  // Appends entries in order, as many AddString calls would; a host may do
  // it at once (a flood of remote-control lines comes in such batches).
  virtual void AddStrings(int id, std::vector<std::string> texts) {
    for (const std::string& text : texts) AddString(id, text);
  }
  // Number of entries.
  virtual int GetCount(int id) const = 0;
  // Selected entry (a list box: the caret entry), or -1.
  virtual int GetCurSel(int id) const = 0;
  // Selects an entry (-1 clears); returns the index or -1.
  virtual int SetCurSel(int id, int index) = 0;
  // Stores a number with an entry; returns -1 when the index is invalid.
  virtual int SetItemData(int id, int index, uintptr_t data) = 0;
  // The number stored with an entry (0 when the index is invalid).
  virtual uintptr_t GetItemData(int id, int index) const = 0;
  // An entry's text (empty when the index is invalid).
  virtual std::string GetItemText(int id, int index) const = 0;
  // Removes every entry.
  virtual void ResetContent(int id) = 0;
  // Scrolls a list box so that the entry is as near the top as it can be.
  virtual int SetTopIndex(int id, int index) = 0;
  // Gives the keyboard focus to a control.
  virtual void SetFocus(int id) = 0;

  // The window's system menu: appends a separator, then an entry. Returns
  // false when the window has no system menu.
  virtual bool AppendSystemMenu(unsigned command, const std::string& text) = 0;
  // Sets the big or small window icon.
  virtual void SetIcon(IconHandle icon, bool big) = 0;
  // Whether the window is minimised.
  virtual bool IsIconic() const = 0;
  // Paints the minimised window: the icon centred in the client area
  // (framework/icon_origin.h says where).
  virtual void PaintIconic(IconHandle icon) = 0;

  // Shows a modal message box owned by this window; returns the button id.
  virtual int MessageBox(const std::string& text, const std::string& caption, BoxIcon icon) = 0;
  // Shows a modal file dialog; the chosen path, or nothing when cancelled.
  virtual std::optional<std::string> FileDialog(const FileDialogRequest& request) = 0;
  // Starts (or restarts) a window timer; returns the id, 0 on failure. A
  // dialog asks for kMinTimerMs (dialog.h) or more.
  virtual uintptr_t SetTimer(uintptr_t id, unsigned milliseconds) = 0;
  // Stops a window timer.
  virtual bool KillTimer(uintptr_t id) = 0;
  // Ends the modal loop of this window with a result.
  virtual void EndDialog(int result) = 0;
  // Runs another dialog modally, owned by this window; returns its result.
  virtual int RunModal(Dialog& child) = 0;
  // Opens a modeless chart window beside this one, which lives until the user
  // closes it or this window goes; nullptr where the host has none.
  virtual ChartWindow* OpenChartWindow(ChartWindowModel&) { return nullptr; }
  // Opens a modeless sweep window beside this one, with the same life;
  // nullptr where the host has none.
  virtual SweepWindow* OpenSweepWindow(SweepWindowModel&) { return nullptr; }
};

// The window system as a whole.
class Host {
 public:
  virtual ~Host() = default;

  // Runs a dialog modally with no owner; returns its result.
  virtual int RunModal(Dialog& dialog) = 0;
  // Shows a message box with no owner (the application's own boxes).
  virtual int MessageBox(const std::string& text, const std::string& caption, BoxIcon icon) = 0;
  // Queues work for the user-interface thread. Callable from any thread; never
  // waits for the user-interface thread.
  virtual void Post(std::function<void()> work) = 0;
};

// The host this process runs on; set once at start-up, before any thread.
Host& CurrentHost();
// Installs the host (the executable's main does this).
void SetCurrentHost(Host* host);

}  // namespace fw
