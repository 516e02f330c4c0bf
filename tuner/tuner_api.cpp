#include "tuner/tuner_api.h"

TunerApiRecord TunerApi{};

namespace {
// Below this, a value from the loader is a failure code, not a module.
constexpr platform::ModuleHandle kFirstValidModule = 32;
}  // namespace

int LoadTunerLibraryFrom(const char* windowsName) {
  if (TunerApi.hModule >= kFirstValidModule) return 0;
  TunerApi.hModule = platform::LoadLibrary(windowsName);
  if (TunerApi.hModule < kFirstValidModule) return -1;

    // Look up in table order; a missing critical entry point releases the module
    // at once, so the names after it are never looked up.
#define QV_BIND(name, type, critical)                                                        \
  TunerApi.name = reinterpret_cast<type>(platform::GetProcAddress(TunerApi.hModule, #name)); \
  if ((critical) && TunerApi.name == nullptr) {                                              \
    platform::FreeLibrary(TunerApi.hModule);                                                 \
    return -2;                                                                               \
  }
  QV_ENTRY_POINTS(QV_BIND)
#undef QV_BIND
  return 0;
}

int LoadTunerLibrary() { return LoadTunerLibraryFrom("quorvex.dll"); }

void ReleaseTunerLibrary() {
  if (TunerApi.hModule >= kFirstValidModule) platform::FreeLibrary(TunerApi.hModule);
  TunerApi.hModule = 0;
}
