// Binding the library variants where scenarios cannot look (the full,
// critical-only and missing-file starts are scenarios): a refused library is
// really released, a second load binds nothing, and release keeps pointers.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "tuner/tuner_api.h"

namespace {

std::string Variant(const char* folder) {
  std::string dir = QV_BIN_DIR;
  if (*folder != '\0') dir += std::string("/") + folder;
  // The loader maps a ".dll" name to the platform's own.
  return dir + "/libquorvex.dll";
}

bool StillLoaded(const char* folder) {
  std::string path = QV_BIN_DIR;
  if (*folder != '\0') path += std::string("/") + folder;
  path += "/libquorvex.so";
  void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (h != nullptr) dlclose(h);
  return h != nullptr;
}

int PresentCount() {
  int n = 0;
#define QV_COUNT(name, type, critical) n += TunerApi.name != nullptr ? 1 : 0;
  QV_ENTRY_POINTS(QV_COUNT)
#undef QV_COUNT
  return n;
}

struct Binding : ::testing::Test {
  void SetUp() override { TunerApi = {}; }
  void TearDown() override {
    ReleaseTunerLibrary();
    TunerApi = {};
  }
};

// Guards a refused module left loaded, and lookups past the missing entry point.
TEST_F(Binding, MissingCriticalEntryPointStopsLookupAndReleasesTheModule) {
  EXPECT_EQ(LoadTunerLibraryFrom(Variant("nostartdvb").c_str()), -2);
  // Looked up before the refusal: the three enumeration generations only.
  EXPECT_NE(TunerApi.CheckForDVB, nullptr);
  EXPECT_NE(TunerApi.CheckForDVBEx, nullptr);
  EXPECT_NE(TunerApi.CheckForDVBExEx, nullptr);
  EXPECT_EQ(PresentCount(), 3);
  EXPECT_FALSE(StillLoaded("nostartdvb"));

  TunerApi = {};
  EXPECT_EQ(LoadTunerLibraryFrom(Variant("nosetfilter").c_str()), -2);
  EXPECT_EQ(TunerApi.SetFilterEx, nullptr);
  EXPECT_EQ(TunerApi.DelFilter, nullptr);
  EXPECT_NE(TunerApi.SetChannelExEx, nullptr);
  EXPECT_EQ(PresentCount(), 13);
  EXPECT_FALSE(StillLoaded("nosetfilter"));
  TunerApi = {};
}

// Guards a second load that looks the entry points up again.
TEST_F(Binding, SecondLoadDoesNothing) {
  ASSERT_EQ(LoadTunerLibraryFrom(Variant("critical").c_str()), 0);
  const auto module = TunerApi.hModule;
  TunerApi.StopDVB = nullptr;  // a second lookup would fill it again
  EXPECT_EQ(LoadTunerLibraryFrom(Variant("").c_str()), 0);
  EXPECT_EQ(TunerApi.hModule, module);
  EXPECT_EQ(TunerApi.StopDVB, nullptr);
  EXPECT_EQ(TunerApi.GetCaps, nullptr);
}

// Guards a release that clears the table the close sequence still reads.
TEST_F(Binding, ReleaseClearsTheHandleButKeepsThePointers) {
  ASSERT_EQ(LoadTunerLibraryFrom(Variant("legacy").c_str()), 0);
  EXPECT_EQ(TunerApi.GetCaps, nullptr);
  EXPECT_EQ(TunerApi.StartDVBEx, nullptr);
  EXPECT_NE(TunerApi.GetSignal, nullptr);
  ReleaseTunerLibrary();
  EXPECT_EQ(TunerApi.hModule, 0u);
  EXPECT_NE(TunerApi.StopDVB, nullptr);
  EXPECT_FALSE(StillLoaded("legacy"));
}

}  // namespace
