// Whoever plays the screen and the user of a headless window: told what a
// real window would show, and asked what a user would answer. The script host
// writes its transcript and answers from the script; a test records.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "framework/dialog.h"
#include "framework/host.h"
#include "hosts/headless/control_state.h"

namespace headless {

class WindowHook {
 public:
  virtual ~WindowHook() = default;

  // The program read a control's value: its text, check state or selection.
  virtual void Read(const ControlState& /*control*/) {}
  // The program set a control's text, check state, selection or enabling.
  virtual void Written(const ControlState& /*control*/) {}
  // Entries were appended to a list (the list holds them already).
  virtual void Appended(const ControlState& /*list*/, std::span<const std::string> /*texts*/) {}
  // A list was emptied.
  virtual void Cleared(const ControlState& /*list*/) {}

  // A message box owned by the window; the id of the button that closed it.
  virtual int MessageBox(const std::string& text, const std::string& caption, fw::BoxIcon icon) = 0;
  // A file dialog owned by the window; the path chosen, or nothing.
  virtual std::optional<std::string> FileDialog(const fw::FileDialogRequest& request) = 0;
  // Another dialog run modally from the window; its result.
  virtual int RunChild(fw::Dialog& child) = 0;
};

}  // namespace headless
