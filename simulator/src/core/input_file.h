// The virtual card's own input files (its configuration, the kept EEPROM
// images), read so that a path naming something else never hangs the library:
// a device such as /dev/zero or a named pipe could be read for ever.
#pragma once

#include <cstdint>
#include <string>

namespace qvsim {

// Reads at most `limit` bytes from the start of a regular file into `bytes`
// and sets `size` to the file's whole length. Returns "" on success, else why
// not, worded for a trace note: "cannot read PATH" or "PATH is not a regular
// file".
std::string readInputFile(const std::string& path, uintmax_t limit, std::string& bytes,
                          uintmax_t& size);

}  // namespace qvsim
