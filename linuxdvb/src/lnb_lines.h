// The LNB supply and 22 kHz tone a DiSEqC transfer is framed by: those of the
// last tune, or, before any tune, those a committed-switch command selects, so
// that the switch and the LNB behind it agree with what the command says.
#ifndef QUORVEX_LINUXDVB_LNB_LINES_H
#define QUORVEX_LINUXDVB_LNB_LINES_H

#include <cstdint>
#include <optional>

namespace ldvb {

/* The two lines the tuner drives towards the LNB. */
struct LnbLines {
  bool horizontal = false;  // 18 V, else 13 V
  bool toneOn = false;      // 22 kHz: the high band
};

/* The lines a committed-switch command (Write N0, command byte 0x38, 4 bytes) selects,
   over `current`: data bit 1 is the polarisation (1 horizontal), bit 0 the band (1 high),
   each only where its change bit (bit 5, bit 4) is set; nullopt for any other message. */
std::optional<LnbLines> CommittedLines(const uint8_t* bytes, uint32_t length, LnbLines current);

}  // namespace ldvb

#endif
