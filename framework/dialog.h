// The dialog base class: a window built from a template, its message routing,
// data exchange between members and controls, and modal running.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "framework/dialog_template.h"
#include "framework/host.h"
#include "framework/message.h"

namespace fw {

class DataExchange;

// The shortest timer period a dialog gets: window systems run no timer faster
// (Windows raises shorter ones to this), and a zero period would keep a host's
// loop busy forever.
inline constexpr unsigned kMinTimerMs = 10;

class Dialog {
 public:
  explicit Dialog(const DialogTemplate& dialogTemplate);
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Runs the dialog modally on the current host; returns its result.
  int DoModal();
  // The template the window is built from.
  const DialogTemplate& Template() const { return *template_; }

  // Host side: attaches the open window (nullptr when it closes).
  void AttachWindow(DialogWindow* window) { window_ = window; }
  // Host side: the window was created; runs OnInitDialog and returns its result.
  bool InitDialog() { return OnInitDialog(); }
  // Host side: delivers a message through the message map, then to the default
  // handling. Returns the message's result (the drag icon for QueryDragIcon).
  uintptr_t Dispatch(const Message& message);

  // The open window; only valid between creation and the end of the modal loop.
  DialogWindow& Window() const;
  // Whether a window is attached.
  bool HasWindow() const { return window_ != nullptr; }

  // Reads the controls into the members (true) or writes them back (false).
  // Returns false when a field failed validation; the exchange stops there.
  bool UpdateData(bool saveAndValidate = true);
  // Ends the modal loop with a result.
  void EndDialog(int result);
  // Queues work for the user-interface thread; callable from any thread.
  static void PostToUi(std::function<void()> work);

  // Control helpers by id, as the classic dialog offers them.
  void EnableItem(int id, bool enable);
  bool IsItemEnabled(int id) const;
  void SetDlgItemText(int id, const std::string& text);
  std::string GetDlgItemText(int id) const;
  void CheckDlgButton(int id, int state);
  int IsDlgButtonChecked(int id) const;
  int MessageBox(const std::string& text, const std::string& caption, BoxIcon icon);
  std::optional<std::string> FileDialog(const FileDialogRequest& request);
  // Starts (or restarts) a window timer of at least kMinTimerMs.
  uintptr_t SetTimer(uintptr_t id, unsigned milliseconds);
  bool KillTimer(uintptr_t id);

 protected:
  // Called when the window exists; the base writes the members to the controls.
  virtual bool OnInitDialog();
  // Binds members to controls; called by UpdateData.
  virtual void DoDataExchange(DataExchange& dx);
  // Routes a message to a handler of the derived class; true when handled.
  virtual bool OnMessage(const Message& message, uintptr_t& result);
  // Default Enter handling: read the controls; when they are valid, end with OK.
  virtual void OnOK();
  // Default Escape handling: end with Cancel.
  virtual void OnCancel();
  // What the dialog manager does with a message no handler took.
  uintptr_t DefaultHandling(const Message& message);

 private:
  const DialogTemplate* template_;
  DialogWindow* window_ = nullptr;
};

// The application's title, used as the caption of the framework's own boxes.
void SetAppTitle(const std::string& title);
const std::string& AppTitle();

}  // namespace fw
