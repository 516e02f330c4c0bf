#include "tuning/mis_selection.h"

#include <string>

#include "tuner/tuner_api.h"
#include "tuner/ui_port.h"

MisSelection MisSelectionFor(int index) {
  MisSelection s;
  s.enable = static_cast<uint32_t>(index);
  s.streamId = static_cast<uint32_t>(index - 1) & 0xFFu;
  s.mask = 255;
  s.shown = index - 1;
  return s;
}

void SelectStream(UiPort& ui, int index) {
  if (TunerApi.MISSel == nullptr) return;
  const MisSelection s = MisSelectionFor(index);
  const int32_t result = TunerApi.MISSel(s.enable, s.streamId, s.mask);
  ui.Log("MISSel(" + std::to_string(s.shown) + ") " + (result != 0 ? "success." : "failed !"));
}
