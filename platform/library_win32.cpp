#include <windows.h>

#include "platform/win32_undef.h"
// clang-format off
#include "platform/library.h"
#include "platform/library_text.h"
// clang-format on

#include <utility>

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
  // program does), the program keeps UTF-8: through UTF-16 from one to the
  // other. Where the code page is UTF-8 itself, or the bytes are not text in
  // it, they are read as on every other system, so that none is lost.
  const int wideLength =
      GetACP() == CP_UTF8 ? 0
                          : MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
  if (wideLength <= 0) return WithVisibleControls(Utf8OrWindows1252(text));
  std::wstring wide(static_cast<size_t>(wideLength), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), wideLength);
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string utf8(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, utf8.data(), length, nullptr, nullptr);
  utf8.pop_back();  // the terminator both calls count
  return WithVisibleControls(std::move(utf8));
}

}  // namespace platform
