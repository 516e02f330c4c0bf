// The configuration file (failure injection, bad files) and the trace lines.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "sim_loader.h"

namespace {

using simtest::SimLib;
using Lines = std::vector<std::string>;

struct FailCase {
  const char* what;
  const char* rule;  // JSON value for "fail": {"CheckForDVB": <rule>}
  std::vector<int32_t> results;
};
void PrintTo(const FailCase& c, std::ostream* os) { *os << c.what; }

class FailInjection : public ::testing::TestWithParam<FailCase> {};

// Guards against an off-by-one in where a fault window starts or ends.
TEST_P(FailInjection, FailsTheConfiguredCalls) {
  const auto& c = GetParam();
  SimLib lib("", std::string(R"({"fail": {"CheckForDVB": )") + c.rule + "}}");
  std::vector<int32_t> got;
  for (size_t i = 0; i < c.results.size(); ++i) got.push_back(SIM_FN(lib, CheckForDVB)());
  EXPECT_EQ(got, c.results);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, FailInjection,
    ::testing::Values(FailCase{"Every", "1", {0, 0, 0, 0}},
                      FailCase{"FromThird", "3", {1, 1, 0, 0, 0}},
                      FailCase{"HexString", "\"0x2\"", {1, 0, 0}},
                      FailCase{"FromCount", R"({"from": 2, "count": 2})", {1, 0, 0, 1, 1}},
                      FailCase{"CountZero", R"({"from": 1, "count": 0})", {1, 1}},
                      FailCase{"FromOnly", R"({"from": 4})", {1, 1, 1, 0, 0}}),
    [](const auto& info) { return std::string(info.param.what); });

// Guards against an injected failure that still acts or goes unmarked in the trace.
TEST(FailInjectionEffects, InjectedFailureChangesNothing) {
  SimLib lib("", R"({"fail": {"StopDVB": 1, "GetMAC": 2, "CheckForDVBExEx": 1}})");
  ASSERT_EQ(SIM_FN(lib, StartDVB)(), 1);
  EXPECT_EQ(SIM_FN(lib, StopDVB)(), 0);
  EXPECT_EQ(SIM_FN(lib, GetCaps)(), 0x18FEu) << "device still started";
  uint8_t mac[6] = {1, 1, 1, 1, 1, 1};
  EXPECT_EQ(SIM_FN(lib, GetMAC)(mac), 1);
  mac[0] = 0x77;
  EXPECT_EQ(SIM_FN(lib, GetMAC)(mac), 0);
  EXPECT_EQ(mac[0], 0x77);
  static int calls = 0;
  calls = 0;
  EXPECT_EQ(SIM_FN(lib, CheckForDVBExEx)([](uint32_t, const char*, uint32_t) { ++calls; }), 0);
  EXPECT_EQ(calls, 0);
  const Lines lines = lib.traceLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[1], "StopDVB() = 0 [injected]");
}

// Bad files fall back to the built-in devices and say why in the trace.
struct BadConfig {
  const char* what;
  const char* json;  // "@path" names a file
};
void PrintTo(const BadConfig& c, std::ostream* os) { *os << c.what; }

class BadConfigs : public ::testing::TestWithParam<BadConfig> {};

// Guards against a bad file half applied, or refused without a reason.
TEST_P(BadConfigs, UseDefaultsAndTraceOneLine) {
  SimLib lib("", std::string(GetParam().json));
  static std::vector<uint32_t> ids;
  ids.clear();
  ASSERT_EQ(
      SIM_FN(lib, CheckForDVBExEx)([](uint32_t id, const char*, uint32_t) { ids.push_back(id); }),
      1);
  EXPECT_EQ(ids, (std::vector<uint32_t>{1, 2}));
  EXPECT_EQ(SIM_FN(lib, StopDVB)(), 0) << "fail section must not apply either";
  const Lines lines = lib.traceLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0].rfind("# config: ", 0), 0u) << lines[0];
  EXPECT_EQ(lines[1], "  -> DeviceEnum(1, \"Quorvex S2 Virtual\", 2)");
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadConfigs,
    ::testing::Values(
        BadConfig{"Missing", "@/nonexistent/qvsim/config.json"},
        BadConfig{"NotJson", "{\"devices\": [ "},
        BadConfig{"UnknownEntryPoint", R"({"fail": {"StopDVb": 1}, "devices": []})"},
        BadConfig{"FromZero", R"({"fail": {"StopDVB": 0}})"},
        BadConfig{"DuplicateId", R"({"devices": [{"id": 1, "name": "a", "type": 2},
                                                  {"id": 1, "name": "b", "type": 2}]})"},
        BadConfig{"IdAllOnes", R"({"devices": [{"id": "0xFFFFFFFF", "name": "a", "type": 2}]})"},
        BadConfig{"BadMac",
                  R"({"devices": [{"id": 3, "name": "a", "type": 2, "mac": "00:11:22"}]})"},
        BadConfig{"CapsTooBig",
                  R"({"devices": [{"id": 3, "name": "a", "type": 2, "caps": "0x100000000"}]})"},
        BadConfig{"SignalEntryUnknown", R"({"signal": {"GetSignalExExEx": {}}})"},
        BadConfig{"SignalFigureUnknown", R"({"signal": {"GetSignal": {"snr": 1}}})"},
        BadConfig{"SignalIntTooBig", R"({"signal": {"Statistic": {"level": 2147483648}}})"},
        BadConfig{"SignalIntTooSmall", R"({"signal": {"GetSignal": {"level": -2147483649}}})"},
        BadConfig{"SignalIntNotWhole", R"({"signal": {"Statistic": {"lock": 0.5}}})"},
        BadConfig{"SignalIntNan", R"({"signal": {"GetSignalExEx": {"rf": "nan"}}})"},
        BadConfig{"SignalFloatTooBig", R"({"signal": {"GetSignalEx": {"snr": 1e39}}})"},
        BadConfig{"SignalFloatWord", R"({"signal": {"GetSignalEx": {"ber": "NaN"}}})"},
        BadConfig{"SignalNotObject", R"({"signal": {"GetSignalEx": 5}})"}),
    [](const auto& info) { return std::string(info.param.what); });

// Guards against a file from a newer simulator being refused for keys it adds.
TEST(Config, UnknownKeysAreIgnored) {
  SimLib lib("", R"({"sky": {"satellites": []}, "seed": "0x2A", "later": 5,
                     "devices": [{"id": 9, "name": "Only", "type": 6, "future": true}]})");
  EXPECT_EQ(SIM_FN(lib, StartDVBEx)(9), 1);
  uint32_t type = 0;
  EXPECT_EQ(SIM_FN(lib, GetTunerType)(&type), 1);
  EXPECT_EQ(type, 6u);
  for (const auto& line : lib.traceLines()) EXPECT_NE(line.rfind("#", 0), 0u) << line;
}

// Guards against trace lines the scenarios grep for changing their rendering.
TEST(Trace, LinesForASession) {
  SimLib lib;
  auto enumCb = [](uint32_t, const char*, uint32_t) {};
  auto tsCb = [](const uint8_t*, uint32_t) {};
  uint32_t type = 0, count = 0;
  uint8_t mac[6], reply[4];
  int32_t filter = 0, level = 0, quality = 0;
  float snr = 0, ber = 0;
  uint8_t msg[] = {0xE0, 0x10, 0x38, 0xF2};
  uint8_t query[] = {0xE2, 0x10, 0x20};  // "set low band" to the switch
  std::vector<uint8_t> eeprom(256, 0xAB);

  SIM_FN(lib, CheckForDVB)();
  SIM_FN(lib, CheckForDVBExEx)(enumCb);
  SIM_FN(lib, CheckForDVBEx)(nullptr);
  SIM_FN(lib, GetCaps)();
  SIM_FN(lib, StartDVBEx)(0xFFFFFFFFu);
  SIM_FN(lib, GetTunerType)(&type);
  SIM_FN(lib, GetMAC)(mac);
  SIM_FN(lib, GetCaps)();
  SIM_FN(lib, SendDiSEqC)(1, 0);
  SIM_FN(lib, SendDiseqCmd)(msg, 4);
  SIM_FN(lib, SendDiseqCmd)(msg, 100);
  SIM_FN(lib, SendDiseqCmdEx)(query, 3, reply, &count);
  SIM_FN(lib, SetChannel)(11778000, 27500, 0, 3, 9750000, 10600000, 11700000);
  SIM_FN(lib, SetFilter)(8192, tsCb, 2, 1, &filter);
  SIM_FN(lib, SetFilter)(0, nullptr, 2, 1, nullptr);
  SIM_FN(lib, GetSignal)(&level, &quality);
  SIM_FN(lib, GetSignalEx)(&snr, &ber);
  SIM_FN(lib, MISSel)(1, 4, 255);
  SIM_FN(lib, SetEEPROM)(eeprom.data(), 0, 256);
  SIM_FN(lib, GetEEPROM)(eeprom.data(), 1, 256);
  SIM_FN(lib, DelFilter)(filter);
  SIM_FN(lib, DelFilter)(-5);
  lib.fn<PFN_Unused>("RFScan")();
  SIM_FN(lib, StopDVB)();

  const Lines expected = {
      "CheckForDVB() = 1",
      "  -> DeviceEnum(1, \"Quorvex S2 Virtual\", 2)",
      "  -> DeviceEnum(2, \"Quorvex T2/C2 Virtual\", 7)",
      "CheckForDVBExEx(cb) = 1",
      "CheckForDVBEx(null) = 0",
      "GetCaps() = 0x00000000",
      "StartDVBEx(-1) = 1 [device=1]",
      "GetTunerType(&) = 1 [type=2]",
      "GetMAC(&) = 1 [00:1A:2B:3C:4D:5E]",
      "GetCaps() = 0x000018FE",
      "SendDiSEqC(1, 0) = 1",
      "SendDiseqCmd(E0 10 38 F2, 4) = 1",
      "SendDiseqCmd(?, 100) = 0",
      "SendDiseqCmdEx(E2 10 20, 3, &, &) = 1 [reply=E4 count=1]",
      "SetChannel(11778000, 27500, 0, 3, 9750000, 10600000, 11700000) = 1",
      "SetFilter(8192, cb, 2, 1, &) = 1 [filter=1]",
      "SetFilter(0, null, 2, 1, null) = 0",
      "GetSignal(&, &) = 1 [level=0 quality=0]",
      "GetSignalEx(&, &) = 1 [snr=0 ber=1]",
      "MISSel(1, 4, 255) = 1",
      "SetEEPROM(AB AB AB AB AB AB AB AB ..., 0, 256) = 1",
      "GetEEPROM(&, 1, 256) = 0",
      "DelFilter(1) = 1",
      "DelFilter(-5) = 0",
      "RFScan() = 0",
      "StopDVB() = 1",
  };
  EXPECT_EQ(lib.traceLines(), expected);
}

// Guards against the library failing its calls when it cannot trace.
TEST(Trace, NoTraceOrUnwritableTraceStillWorks) {
  for (const char* path : {"", "/nonexistent/dir/trace.txt"}) {
    SimLib lib("", std::nullopt, path);
    EXPECT_EQ(SIM_FN(lib, CheckForDVB)(), 1) << path;
    EXPECT_EQ(SIM_FN(lib, StartDVB)(), 1) << path;
    EXPECT_TRUE(lib.traceLines().empty());
  }
}

}  // namespace
