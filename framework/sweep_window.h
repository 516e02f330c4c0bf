// A modeless sweep window beside the dialog: the program keeps the rows, the
// progress and the state of the buttons; a host only shows them and forwards
// the user's presses.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace fw {

// What the sweep window shows and what its buttons do. All calls are made on
// the user-interface thread.
class SweepWindowModel {
 public:
  virtual ~SweepWindowModel() = default;
  // The window's caption.
  virtual std::string Title() const = 0;
  // The chosen channel file, as the line beside "Choose..." shows it.
  virtual std::string FileText() const = 0;
  // The "Choose..." button was pressed.
  virtual void ChooseFile() = 0;
  // Whether "Start" can be pressed (a file is chosen, no sweep runs).
  virtual bool CanStart() const = 0;
  // The "Start" and "Stop" buttons were pressed.
  virtual void Start() = 0;
  virtual void Stop() = 0;
  // Whether a sweep runs ("Stop" can be pressed).
  virtual bool Running() const = 0;
  // The progress bar: transponders finished of all.
  virtual size_t Finished() const = 0;
  virtual size_t Total() const = 0;
  // The table's column titles, and its rows (each as many texts as columns).
  virtual std::vector<std::string> Columns() const = 0;
  virtual size_t RowCount() const = 0;
  virtual std::vector<std::string> Row(size_t index) const = 0;
  // One line under the table: what runs, how it ended, or what went wrong.
  virtual std::string Status() const = 0;
  // The "Save CSV..." button was pressed; CanSave says whether it can be.
  virtual void Save() = 0;
  virtual bool CanSave() const = 0;
  // The user closed the window; the host destroys it after this call.
  virtual void Closed() = 0;
};

// The open window, as the program sees it.
class SweepWindow {
 public:
  virtual ~SweepWindow() = default;
  // Something changed: the host shows the model's rows (appending the new
  // ones; all again when there are fewer than it shows), progress, status
  // and button states.
  virtual void ShowNewData() = 0;
  // Brings the window to the front.
  virtual void BringToFront() = 0;
};

}  // namespace fw
