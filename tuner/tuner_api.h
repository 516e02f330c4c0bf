// The process-wide record of the loaded tuner library and its entry points.
#pragma once

#include "platform/library.h"
#include "tuner/quorvex_api.h"

// Module handle and one slot per entry point, null when not exported.
struct TunerApiRecord {
  platform::ModuleHandle hModule;
#define QV_SLOT(name, type, critical) type name;
  QV_ENTRY_POINTS(QV_SLOT)
#undef QV_SLOT
};

// Zero-initialised at program start.
extern TunerApiRecord TunerApi;

// Number of entry points the record holds.
inline constexpr int kTunerEntryPointCount = 42;

// Loads "quorvex.dll" by bare name and binds its entry points: 0 loaded (or
// already loaded), -1 not loadable, -2 a critical entry point is missing (the
// module has then been released again).
int LoadTunerLibrary();

// The same, for a library file named explicitly (tests bind variants this way).
int LoadTunerLibraryFrom(const char* windowsName);

// Frees the module when one is loaded and clears the handle; pointers stay.
void ReleaseTunerLibrary();
