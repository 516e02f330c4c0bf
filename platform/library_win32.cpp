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

std::string LibraryText(const char* text) {
  if (text == nullptr || *text == '\0') return {};
  // The library writes in the system's ANSI code page (as every 8-bit Windows
  // program does), the program keeps UTF-8: through UTF-16 from one to the other.
  const int wideLength = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (wideLength <= 0) return {};
  std::wstring wide(static_cast<size_t>(wideLength), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), wideLength);
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string utf8(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, utf8.data(), length, nullptr, nullptr);
  utf8.pop_back();  // the terminator both calls count
  return utf8;
}

}  // namespace platform
