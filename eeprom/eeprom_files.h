// "Read" saves the card's EEPROM to an image file, "Write" puts an image back.
// Each press owns its buffer and its file and gives both up before returning.
#pragma once

#include <cstdint>

class UiPort;

/* Reads `size` bytes of the card's EEPROM and saves them to a file of the user's choice,
   each outcome logged. */
void SaveEeprom(UiPort& ui, uint16_t size);
/* Writes the first `size` bytes of an image file of the user's choice to the card, each
   outcome logged. */
void RestoreEeprom(UiPort& ui, uint16_t size);
