// Binding the library variants: what is looked up, what is refused, and that
// a refused library is really released.
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

TEST_F(Binding, FullLibraryBindsAllEntryPoints) {
  EXPECT_EQ(LoadTunerLibraryFrom(Variant("").c_str()), 0);
  EXPECT_GE(TunerApi.hModule, 32u);
  EXPECT_EQ(PresentCount(), kTunerEntryPointCount);
}

TEST_F(Binding, CriticalOnlyLibraryLoadsWithEveryOptionalSlotNull) {
  EXPECT_EQ(LoadTunerLibraryFrom(Variant("critical").c_str()), 0);
  EXPECT_EQ(PresentCount(), 6);
  EXPECT_NE(TunerApi.CheckForDVB, nullptr);
  EXPECT_NE(TunerApi.StartDVB, nullptr);
  EXPECT_NE(TunerApi.StopDVB, nullptr);
  EXPECT_NE(TunerApi.SetChannel, nullptr);
  EXPECT_NE(TunerApi.SetFilter, nullptr);
  EXPECT_NE(TunerApi.DelFilter, nullptr);
}

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

TEST_F(Binding, SecondLoadDoesNothing) {
  ASSERT_EQ(LoadTunerLibraryFrom(Variant("critical").c_str()), 0);
  const auto module = TunerApi.hModule;
  TunerApi.StopDVB = nullptr;  // a second lookup would fill it again
  EXPECT_EQ(LoadTunerLibraryFrom(Variant("").c_str()), 0);
  EXPECT_EQ(TunerApi.hModule, module);
  EXPECT_EQ(TunerApi.StopDVB, nullptr);
  EXPECT_EQ(TunerApi.GetCaps, nullptr);
}

TEST_F(Binding, MissingFileFailsWithoutLookups) {
  EXPECT_EQ(LoadTunerLibraryFrom("/nonexistent/dir/libquorvex.dll"), -1);
  EXPECT_LT(TunerApi.hModule, 32u);
  EXPECT_EQ(PresentCount(), 0);
}

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
