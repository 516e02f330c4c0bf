#include <string>
#include <vector>

#include "compliance/checks.h"
#include "platform/library.h"
#include "tuner/tuner_api.h"

namespace compliance {

namespace {

std::string Join(const std::vector<std::string>& names) {
  std::string s;
  for (const std::string& n : names) s += (s.empty() ? "" : ", ") + n;
  return s;
}

}  // namespace

bool CheckLoading(Context& c, const std::string& libraryName) {
  Report& r = c.report;
  r.Area(std::string("Loading ") + platform::NativeLibraryName(libraryName.c_str()));
  const platform::ModuleHandle module = platform::LoadLibrary(libraryName.c_str());
  if (module < 32) {
    r.Fail("load", "the library could not be loaded");
    return false;
  }
  r.Ok("load");

  std::vector<std::string> missingCritical, present, absent;
#define QV_LOOK_UP(name, type, critical)                      \
  if (platform::GetProcAddress(module, #name) != nullptr) {   \
    if (!(critical)) present.push_back(#name);                \
  } else {                                                    \
    ((critical) ? missingCritical : absent).push_back(#name); \
  }
  QV_ENTRY_POINTS(QV_LOOK_UP)
#undef QV_LOOK_UP
  r.Check("critical entry points", missingCritical.empty(),
          "missing " + Join(missingCritical) +
              "; the program refuses a library without any of CheckForDVB, StartDVB, StopDVB, "
              "SetChannel, SetFilter, DelFilter");
  r.Ok("optional entry points");
  r.Info(std::to_string(present.size()) + " of " + std::to_string(present.size() + absent.size()) +
         " optional entry points exported");
  r.Detail("exported: " + Join(present));
  r.Detail("not exported: " + Join(absent));

  // A newer generation (name + "Ex") without the one it extends.
  auto has = [&](const std::string& n) {
    return platform::GetProcAddress(module, n.c_str()) != nullptr;
  };
  int gaps = 0;
#define QV_GENERATION(name, type, critical)                                   \
  {                                                                           \
    const std::string newer = #name;                                          \
    if (newer.size() > 2 && newer.compare(newer.size() - 2, 2, "Ex") == 0) {  \
      const std::string base = newer.substr(0, newer.size() - 2);             \
      bool known = false;                                                     \
      for (const char* n : kNames) known |= base == n;                        \
      /* GetSignalEx reads SNR and BER, not GetSignal's level and quality. */ \
      if (known && newer != "GetSignalEx" && has(newer) && !has(base)) {      \
        r.Warn(newer + " is exported without " + base);                       \
        ++gaps;                                                               \
      }                                                                       \
    }                                                                         \
  }
  static const char* const kNames[] = {
#define QV_NAME(name, type, critical) #name,
      QV_ENTRY_POINTS(QV_NAME)
#undef QV_NAME
  };
  QV_ENTRY_POINTS(QV_GENERATION)
#undef QV_GENERATION
  if (gaps == 0) r.Detail("every Ex entry point comes with the one it extends");
  r.Ok("entry point generations");
  platform::FreeLibrary(module);
  if (!missingCritical.empty()) return false;

  // From here on the library is bound exactly as the program binds it.
  const int bound = LoadTunerLibraryFrom(libraryName.c_str());
  r.Check("bind as the program does", bound == 0,
          "LoadTunerLibrary gave " + std::to_string(bound) + ", expected 0");
  return bound == 0;
}

}  // namespace compliance
