#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/library.h"
#include "platform/library_text.h"

namespace platform {

const char* NativeLibraryName(const char* windowsName) {
  // Only the tuner library is ever loaded; keep a stable pointer per name.
  static thread_local std::string name;
  std::string base = windowsName;
  const size_t dot = base.rfind(".dll");
  if (dot != std::string::npos && dot + 4 == base.size()) base.resize(dot);
  // A file named with its own extension (a tool given a library's path) is
  // loaded as named.
  const bool native = base.size() > 3 && base.compare(base.size() - 3, 3, ".so") == 0;
  name = native ? base : (base.find('/') == std::string::npos ? "lib" + base : base) + ".so";
  return name.c_str();
}

ModuleHandle LoadLibrary(const char* windowsName) {
  // dlopen is called from here, inside the executable, so the executable's
  // RUNPATH ($ORIGIN) is what the search uses.
  void* handle = dlopen(NativeLibraryName(windowsName), RTLD_NOW | RTLD_LOCAL);
  // The message list says only that the library is not loaded, as on
  // Windows; the loader's reason (a missing file, an unresolved symbol, a
  // wrong architecture) goes to standard error for whoever starts the program.
  if (handle == nullptr) {
    if (const char* why = dlerror()) std::fprintf(stderr, "%s\n", why);
  }
  return reinterpret_cast<ModuleHandle>(handle);
}

void* GetProcAddress(ModuleHandle module, const char* name) {
  return dlsym(reinterpret_cast<void*>(module), name);
}

void FreeLibrary(ModuleHandle module) { dlclose(reinterpret_cast<void*>(module)); }

// The system's code page here is UTF-8, the program's own; a library written
// for the Windows code page still shows every byte.
std::string LibraryText(const char* text) {
  return text != nullptr ? WithVisibleControls(Utf8OrWindows1252(text)) : "";
}

}  // namespace platform
