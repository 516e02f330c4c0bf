// Which entry points each build of the virtual card exports; the scenarios run
// each variant through the program.
#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>

#include "sim_loader.h"

namespace {

const char* const kAllNames[] = {
#define NAME(name, type, critical) #name,
    QV_ENTRY_POINTS(NAME)
#undef NAME
};

const std::set<std::string> kCritical = {"CheckForDVB", "StartDVB",  "StopDVB",
                                         "SetChannel",  "SetFilter", "DelFilter"};
const std::set<std::string> kExGeneration = {"CheckForDVBEx",  "CheckForDVBExEx", "StartDVBEx",
                                             "SendDiseqCmdEx", "SetChannelEx",    "SetChannelExEx",
                                             "SetFilterEx",    "GetSignalEx",     "GetSignalExEx",
                                             "BLScanEx",       "SetChannel2Ex"};

struct Variant {
  const char* folder;
  bool onlyCritical;
  std::set<std::string> absent;
};
void PrintTo(const Variant& c, std::ostream* os) { *os << (*c.folder ? c.folder : "full"); }

std::set<std::string> withCaps(std::set<std::string> s) {
  s.insert("GetCaps");
  return s;
}

const Variant kVariants[] = {
    {"", false, {}},
    {"critical", true, {}},
    {"nostartdvb", false, {"StartDVB"}},
    {"legacy", false, withCaps(kExGeneration)},
    {"nosetfilter", false, {"SetFilter"}},
    {"exonly", false, {"CheckForDVBExEx", "SetChannelExEx", "GetSignalExEx"}},
    {"nocaps", false, {"GetCaps"}},
};

class VariantExports : public ::testing::TestWithParam<Variant> {};

// Guards against a variant exporting a call it must lack, or internals.
TEST_P(VariantExports, ExportsExactlyItsEntryPoints) {
  const Variant& v = GetParam();
  simtest::SimLib lib(v.folder);
  for (const char* name : kAllNames) {
    const bool expected = v.onlyCritical ? kCritical.count(name) == 1 : v.absent.count(name) == 0;
    EXPECT_EQ(lib.symbol(name) != nullptr, expected) << name;
  }
  // Nothing of the implementation leaks out.
  EXPECT_EQ(lib.symbol("_ZN5qvsim9simulatorEv"), nullptr);
}

INSTANTIATE_TEST_SUITE_P(AllBuilds, VariantExports, ::testing::ValuesIn(kVariants),
                         [](const auto& info) {
                           return std::string(*info.param.folder ? info.param.folder : "full");
                         });

}  // namespace
