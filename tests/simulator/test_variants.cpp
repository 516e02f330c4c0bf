// Which entry points each build of the virtual card exports.
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

// Guards against a variant that exports the critical calls but cannot serve them.
TEST_P(VariantExports, CriticalSequenceWorks) {
  const Variant& v = GetParam();
  simtest::SimLib lib(v.folder);
  EXPECT_EQ(SIM_FN(lib, CheckForDVB)(), 1);
  if (lib.symbol("StartDVB")) {
    EXPECT_EQ(SIM_FN(lib, StartDVB)(), 1);
  } else {
    EXPECT_EQ(SIM_FN(lib, StartDVBEx)(0xFFFFFFFFu), 1);
  }
  EXPECT_EQ(SIM_FN(lib, SetChannel)(11778000, 27500, 0, 3, 9750000, 10600000, 11700000), 1);
  if (lib.symbol("SetFilter")) {
    int32_t filter = 0;
    EXPECT_EQ(SIM_FN(lib, SetFilter)(
                  0, [](const uint8_t*, uint32_t) {}, 2, 1, &filter),
              1);
    EXPECT_EQ(SIM_FN(lib, DelFilter)(filter), 1);
  }
  EXPECT_EQ(SIM_FN(lib, StopDVB)(), 1);
}

INSTANTIATE_TEST_SUITE_P(AllBuilds, VariantExports, ::testing::ValuesIn(kVariants),
                         [](const auto& info) {
                           return std::string(*info.param.folder ? info.param.folder : "full");
                         });

}  // namespace
