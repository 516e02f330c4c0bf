// Run-time loading of a shared library by bare name.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// A loaded module; values below 32 mean failure, as the Windows loader reports.
using ModuleHandle = uintptr_t;

// Loads the tuner library by its Windows file name; other platforms map the
// name to their own ("quorvex.dll" -> "libquorvex.so"). Below 32 on failure,
// when the loader's reason, where it gives one, goes to standard error.
ModuleHandle LoadLibrary(const char* windowsName);
// Looks up an exported name; nullptr when absent.
void* GetProcAddress(ModuleHandle module, const char* name);
// Releases a module.
void FreeLibrary(ModuleHandle module);
// The file name the loader is asked for on this platform.
const char* NativeLibraryName(const char* windowsName);
// A text the library hands out (8-bit, in the system's code page) as the
// program's own UTF-8, its control characters shown as their pictures; null
// reads as empty.
std::string LibraryText(const char* text);

}  // namespace platform
