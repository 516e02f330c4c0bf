// What one decoded remote-control code becomes for the program: an RC-5 code
// word (start bits, toggle, address, command) or the scancode's raw bytes.
#ifndef QUORVEX_LINUXDVB_RC_CODES_H
#define QUORVEX_LINUXDVB_RC_CODES_H

#include <cstdint>
#include <optional>
#include <vector>

namespace ldvb {

/* A code as the kernel's remote-control core reports it. */
struct Scancode {
  uint32_t protocol = 0;  // enum rc_proto
  uint64_t scancode = 0;
  bool toggle = false;
};

/* The program's code types for SetRemoteControl. */
enum class RcType : uint32_t { Raw = 0, Rc5 = 1 };

/* The 16-bit RC-5 word of an RC-5 code (address << 8 | command, command up to 127 for
   RC-5X); nullopt for any other protocol. Start bit 2 is the inverted command bit 6. */
std::optional<uint16_t> Rc5Word(const Scancode& code);

/* True when an RC-5 word passes the device filter (0xFFFF: every address). */
bool PassesDeviceFilter(uint16_t word, uint32_t deviceFilter);

/* The scancode's bytes, most significant first: two bytes up to 0xFFFF, three up to
   0xFFFFFF, else four (eight for wider codes). */
std::vector<uint8_t> RawBytes(uint64_t scancode);

}  // namespace ldvb

#endif
