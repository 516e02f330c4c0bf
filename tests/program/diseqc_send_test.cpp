// A press of DiSEqC "Send" against a library faked here: what reaches the
// library and what the log shows when the library reports replies oddly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "diseqc/diseqc_bus.h"
#include "tests/program/fake_ui.h"

namespace {

// Per exchange: the bytes written, and the count stored (none: left untouched).
struct Exchange {
  std::vector<uint8_t> bytes;
  bool storesCount = true;
  uint32_t count = 0;
};
std::vector<Exchange> exchanges;
std::vector<std::string> sent;

int32_t FakeSendDiseqCmdEx(uint8_t* msg, uint32_t length, uint8_t* reply, uint32_t* count) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02X %02X %02X %02X/%u", msg[0], msg[1], msg[2], msg[3], length);
  sent.push_back(buf);
  const Exchange e = exchanges.at(sent.size() - 1);
  std::copy(e.bytes.begin(), e.bytes.end(), reply);
  if (e.storesCount) *count = e.count;
  return 1;
}
int32_t FakeSendDiseqCmd(uint8_t*, uint32_t) { return 1; }

struct DiseqcSend : FakeLibrary {
  FakeUi ui;
  DiseqcSettings settings;
  void SetUp() override {
    FakeLibrary::SetUp();
    TunerApi.SendDiseqCmd = FakeSendDiseqCmd;
    TunerApi.SendDiseqCmdEx = FakeSendDiseqCmdEx;
    exchanges.clear();
    sent.clear();
    // The dialog's defaults: 10722 MHz horizontal, the 11700 MHz switch.
    settings.freqMHz = 10722, settings.lofSwitchMHz = 11700;
  }
  void Press() { SendDiseqc(ui, settings, std::nullopt); }
  const std::vector<std::string>& Log() const { return ui.lines; }
};

// Guards a reply count carried over from the previous exchange.
TEST_F(DiseqcSend, EveryExchangeStartsFromACountOfZero) {
  settings.diseqc11 = settings.diseqc10 = settings.diseqc12 = settings.receiveReply = true;
  // The first answers two bytes; the next two leave the count as it was.
  exchanges = {{{0xE4, 0x5A}, true, 2}, {{}, false, 0}, {{0xE4, 0x11}, false, 0}};
  Press();
  EXPECT_EQ(sent, (std::vector<std::string>{"E2 10 39 F0/4", "E2 10 38 F2/4", "E2 31 6B 00/4"}));
  EXPECT_EQ(Log(), (std::vector<std::string>{
                       "DiSEqC 2.1: E2 10 39 F0", "SendDiseqCmdEx() success.", "Reply: E4 5A",
                       "DiSEqC 2.0: E2 10 38 F2", "SendDiseqCmdEx() success.", "No reply !",
                       "DiSEqC 2.2: E2 31 6B 00", "SendDiseqCmdEx() success.", "No reply !"}));
}

// Guards a reply line reading bytes the library never wrote.
TEST_F(DiseqcSend, ACountBeyondTheBytesWrittenShowsNoStaleMemory) {
  settings.diseqc12 = settings.receiveReply = true;
  exchanges = {{{0xE4}, true, 4}};
  Press();
  ASSERT_EQ(Log().size(), 3u);
  EXPECT_EQ(Log()[2], "Reply: E4 00 00 00");
}

}  // namespace
