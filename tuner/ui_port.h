// What the logic of a subsystem may ask of the dialog it serves: a line in
// the message log, a box, a file dialog, the state of a control by id, a
// window timer, work for the user-interface thread. The logic sees no window
// and no toolkit; the dialog answers through its window, a test through a
// record of its own.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "framework/chart_window.h"
#include "framework/dialog_requests.h"
#include "framework/sweep_window.h"

class UiPort {
 public:
  virtual ~UiPort() = default;

  /* Adds a line to the message log (and to the log file while it is open). */
  virtual void Log(const std::string& line) = 0;
  /* Adds every line of `lines` (each ending in '\n') as Log does, at once. */
  virtual void LogLines(const std::string& lines) = 0;
  /* Shows a modal box owned by the dialog; it has only an OK button. */
  virtual void Box(const std::string& text, const std::string& caption, fw::BoxIcon icon) = 0;
  /* Shows a modal file dialog: the chosen path, or nothing when cancelled. */
  virtual std::optional<std::string> AskFile(const fw::FileDialogRequest& request) = 0;

  /* Enables or disables a control. */
  virtual void Enable(int id, bool enable) = 0;
  /* Whether a control is enabled. */
  virtual bool IsEnabled(int id) const = 0;
  /* Sets the check state of a check box or radio button. */
  virtual void Check(int id, int state) = 0;
  /* The check state of a check box or radio button. */
  virtual int Checked(int id) const = 0;
  /* Sets a control's text. */
  virtual void SetText(int id, const std::string& text) = 0;
  /* A control's text. */
  virtual std::string Text(int id) const = 0;
  /* Selects entry `index` of a list (-1 clears it). */
  virtual void Select(int id, int index) = 0;

  /* Starts a window timer; false when the window has none to give. */
  virtual bool SetTimer(uintptr_t id, unsigned milliseconds) = 0;
  /* Stops a window timer. */
  virtual void KillTimer(uintptr_t id) = 0;
  /* Opens a modeless chart window beside the dialog that `model` answers
     until its Closed(); nullptr where the host has none to give. */
  virtual fw::ChartWindow* OpenChart(fw::ChartWindowModel&) { return nullptr; }
  /* Opens a modeless sweep window beside the dialog that `model` answers
     until its Closed(); nullptr where the host has none to give. */
  virtual fw::SweepWindow* OpenSweep(fw::SweepWindowModel&) { return nullptr; }
  /* Whether the dialog's window is up; without one, nothing is shown. */
  virtual bool Shown() const = 0;
  /* Queues work for the user-interface thread; any thread, never waits. */
  virtual void Post(std::function<void()> work) = 0;
};
