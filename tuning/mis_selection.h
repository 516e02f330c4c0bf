// What a choice in the multistream list passes to the library and logs.
#pragma once

#include <cstdint>

struct MisSelection {
  uint32_t enable;    // the list index: 0 only for "OFF"
  uint32_t streamId;  // index - 1 in 8 bits; "OFF" gives 255
  uint32_t mask;      // always 255
  int32_t shown;      // the number in the log line: index - 1
};

// The arguments for list index `index` (0 "OFF", n + 1 for stream n).
MisSelection MisSelectionFor(int index);

class UiPort;

// Passes the choice at list index `index` to MISSel, when the library has it,
// and logs the outcome.
void SelectStream(UiPort& ui, int index);
