#include "framework/dialog_life.h"

namespace fw {

void SeedTemplateEntries(const DialogTemplate& dialogTemplate, DialogWindow& window) {
  for (const ControlTemplate& c : dialogTemplate.controls) {
    if (c.entries.empty() || dialogTemplate.Find(c.id) != &c) continue;
    window.AddStrings(c.id, c.entries);
  }
}

bool StartDialog(Dialog& dialog, DialogWindow& window) {
  dialog.AttachWindow(&window);
  SeedTemplateEntries(dialog.Template(), window);
  return dialog.InitDialog();
}

void FinishDialog(Dialog& dialog) { dialog.AttachWindow(nullptr); }

int RunDialog(Dialog& dialog, ModalWindow& window, const std::function<void()>& loop) {
  // A script error in a test leaves by an exception: the dialog must not
  // keep a window that is about to go.
  struct Finishing {
    Dialog& dialog;
    ~Finishing() { FinishDialog(dialog); }
  } finishing{dialog};
  StartDialog(dialog, window);
  if (!window.Ended()) loop();
  return window.Result();
}

}  // namespace fw
