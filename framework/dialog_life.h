// A dialog's life on the window a host opens for it, the same on every host:
// the window is attached, the lists get the template's entries, the dialog
// initialises, the modal loop runs, and the dialog lets go of the window.
#pragma once

#include <functional>

#include "framework/dialog.h"
#include "framework/host.h"

namespace fw {

// A window whose host knows when its dialog has ended.
class ModalWindow : public DialogWindow {
 public:
  // Whether EndDialog was called (by the dialog or by the window itself).
  virtual bool Ended() const = 0;
  // The result EndDialog was given; Cancel until then.
  virtual int Result() const = 0;
};

// Gives each list of the window the entries its template lists, as a
// resource's list data is loaded; a repeated id is the first control's.
void SeedTemplateEntries(const DialogTemplate& dialogTemplate, DialogWindow& window);

// The start, for a window system that calls back when the window exists and
// runs the loop itself: attaches the window, seeds its lists and runs
// OnInitDialog; returns its result.
bool StartDialog(Dialog& dialog, DialogWindow& window);
// The end, when the window goes: the dialog lets go of it.
void FinishDialog(Dialog& dialog);

// The whole life for a host that runs the loop: starts the dialog, runs
// `loop` unless the dialog ended while starting (its window is then never
// shown), and finishes it on every way out. Returns the dialog's result.
int RunDialog(Dialog& dialog, ModalWindow& window, const std::function<void()>& loop);

}  // namespace fw
