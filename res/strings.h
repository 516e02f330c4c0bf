// The string table: texts the program loads by resource id.
#pragma once

#include <string>

namespace res {

// The text of string resource `id` (UTF-8), or an empty string when the table
// has no such entry.
std::string StringResource(int id);

// <windows.h> turns LoadString into LoadStringA/LoadStringW; defining the
// usual name inline here means a Win32 translation unit that includes
// <windows.h> first still compiles and links against StringResource.
inline std::string LoadString(int id) { return StringResource(id); }

}  // namespace res
