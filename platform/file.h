// Files opened the way the program asks the Windows kernel for them.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

enum class Access { Read, Write };
// Whether others may open the file for reading meanwhile.
enum class Share { None, Read };
// CREATE_ALWAYS: create or truncate. OPEN_EXISTING: fail when missing.
enum class Disposition { CreateAlways, OpenExisting };

using FileHandle = intptr_t;
inline constexpr FileHandle kInvalidFile = -1;

// Opens or creates a file; kInvalidFile on failure. A folder is never opened
// as a file, and opening never waits for the other end of a named pipe.
FileHandle CreateFile(const std::string& path, Access access, Share share, Disposition disposition);
// How long a pipe or device may take no byte (a player that stopped reading,
// a writer that stopped writing) before the write or read fails, as a full
// disk or a broken pipe does: the window never waits longer on a file.
inline constexpr unsigned kStallLimitMs = 2000;

// Writes the whole buffer in one call; false when it wrote nothing. `written`
// is the number of bytes written: less than `length` when the file refused
// the rest, or took nothing for `stallMs`.
bool WriteFile(FileHandle file, const void* data, uint32_t length, uint32_t& written,
               unsigned stallMs = kStallLimitMs);
// Reads up to `length` bytes in one call; false on failure, and when a pipe or
// device gives no byte for kStallLimitMs.
bool ReadFile(FileHandle file, void* data, uint32_t length, uint32_t& read);
// Closes a file handle.
void CloseHandle(FileHandle file);
// Creates or truncates a text file, as fopen(path, "w") does but opened as
// CreateFile opens; kInvalidFile on failure.
FileHandle CreateTextFile(const std::string& path);
// Writes text whose lines end in '\n' with the platform's line ends ("\r\n" on
// Windows), as WriteFile writes; true when all of it was written.
bool WriteText(FileHandle file, const std::string& text);

}  // namespace platform
