// Carrying a press of DiSEqC "Send" out on the library, and keeping the
// options a device does not offer from acting.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "diseqc/diseqc_message.h"

class UiPort;

/* Makes the calls the settings plan, with their lines; `caps` is the device's capability
   mask when the library reports one. */
void SendDiseqc(UiPort& ui, const DiseqcSettings& settings, const std::optional<uint32_t>& caps);

// A DiSEqC option box, the member it is bound to and the controls enabled
// only while it is ticked (0 for none).
struct DiseqcOption {
  int box;
  int32_t* member;
  int dependents[2];
};

/* Unticks the options whose box is disabled, and disables their dependents. */
void ClearDisabledDiseqcOptions(UiPort& ui, const std::vector<DiseqcOption>& options);
