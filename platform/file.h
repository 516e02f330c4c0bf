// Files opened the way the program asks the Windows kernel for them.
#pragma once

#include <cstdint>
#include <cstdio>
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
// Writes the whole buffer in one call; false on failure. `written` is the
// number of bytes written (0 on failure).
bool WriteFile(FileHandle file, const void* data, uint32_t length, uint32_t& written);
// Reads up to `length` bytes in one call; false on failure.
bool ReadFile(FileHandle file, void* data, uint32_t length, uint32_t& read);
// Closes a file handle.
void CloseHandle(FileHandle file);
// Creates or truncates a text file for buffered writing, as fopen(path, "w")
// does but opened as CreateFile opens; nullptr on failure.
std::FILE* CreateTextStream(const std::string& path);

}  // namespace platform
