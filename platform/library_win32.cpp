#include <windows.h>

#include "platform/win32_undef.h"
// clang-format off
#include "platform/library.h"
// clang-format on

namespace platform {

const char* NativeLibraryName(const char* windowsName) { return windowsName; }

ModuleHandle LoadLibrary(const char* windowsName) {
  // A missing or broken DLL must not raise the system's error box: the
  // program reports it with its own.
  const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module = ::LoadLibraryA(windowsName);
  SetErrorMode(oldMode);
  return reinterpret_cast<ModuleHandle>(module);
}

void* GetProcAddress(ModuleHandle module, const char* name) {
  // Below 32 is the loader's failure range: never a module to look into.
  if (module < 32) return nullptr;
  return reinterpret_cast<void*>(::GetProcAddress(reinterpret_cast<HMODULE>(module), name));
}

void FreeLibrary(ModuleHandle module) {
  if (module >= 32) ::FreeLibrary(reinterpret_cast<HMODULE>(module));
}

}  // namespace platform
