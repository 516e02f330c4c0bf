#include "tuning/mis_selection.h"

MisSelection MisSelectionFor(int index) {
  MisSelection s;
  s.enable = static_cast<uint32_t>(index);
  s.streamId = static_cast<uint32_t>(index - 1) & 0xFFu;
  s.mask = 255;
  s.shown = index - 1;
  return s;
}
