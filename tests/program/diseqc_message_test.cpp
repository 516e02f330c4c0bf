// What a press of the DiSEqC "Send" button sends and logs: the bytes of each
// message, which entry point each item takes, and the reply line.
#include "diseqc/diseqc_message.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(CommittedDataByte, BitsMeanOptionPositionPolarisationAndBand) {
  // Bit 3 option B, bit 2 position B, bit 1 horizontal (18 V), bit 0 high band (22 kHz).
  struct Case {
    int32_t index, pol;
    uint32_t freq, lofSwitch;
    uint8_t byte;
  } cases[] = {
      {0, 0, 10722, 11700, 0xF2},        // PosA/OptA, H/L, low band
      {3, 1, 11800, 11700, 0xFD},        // PosB/OptB, V/R, high band
      {1, 1, 10722, 11700, 0xF4},        // PosB/OptA: position bit only
      {2, 1, 10722, 11700, 0xF8},        // PosA/OptB: option bit only
      {0, 1, 11700, 11700, 0xF0},        // equal to the switch frequency: low band
      {0, 1, 11701, 11700, 0xF1},        // one MHz above: high band
      {0, 1, 0xFFFFFFFFu, 11700, 0xF1},  // compared unsigned
      {0, 2, 10722, 11700, 0xF0},        // any polarisation but H/L is vertical
      {-1, 0, 10722, 11700, 0xFE},       // no selection: option and position set
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CommittedDataByte(c.index, c.pol, c.freq, c.lofSwitch), c.byte)
        << c.index << " " << c.pol << " " << c.freq;
  }
}

struct Shown {
  DiseqcCall call;
  std::string before, success, failure;
  std::vector<int> bytes;  // message, or mode and data of SendDiSEqC
};

std::vector<Shown> Show(const DiseqcSettings& s, const DiseqcEntries& e) {
  std::vector<Shown> out;
  for (const DiseqcStep& step : PlanDiseqcSend(s, e)) {
    Shown x{
        step.call, step.before, DiseqcOutcomeLine(step, true), DiseqcOutcomeLine(step, false), {}};
    if (step.call == DiseqcCall::SendDiSEqC) {
      x.bytes = {static_cast<int>(step.mode), step.data};
    } else {
      x.bytes.assign(step.message.begin(), step.message.end());
    }
    out.push_back(x);
  }
  return out;
}

DiseqcSettings Defaults() {
  DiseqcSettings s;
  s.freqMHz = 10722, s.lofSwitchMHz = 11700;
  return s;
}
constexpr DiseqcEntries kAll{true, true, true};

TEST(PlanDiseqcSend, AllFourItemsInTheirFixedOrder) {
  DiseqcSettings s = Defaults();
  s.simple = s.diseqc10 = s.diseqc11 = s.diseqc12 = true;
  s.uncommittedIndex = 5, s.positionerIndex = 12, s.burst = 1;
  const auto plan = Show(s, kAll);
  ASSERT_EQ(plan.size(), 4u);
  EXPECT_EQ(plan[0].before, "DiSEqC 1.1: E0 10 39 F5");
  EXPECT_EQ(plan[0].success, "SendDiseqCmd() success.");
  EXPECT_EQ(plan[0].failure, "SendDiseqCmd() failed !");
  EXPECT_EQ(plan[1].call, DiseqcCall::SendDiSEqC);
  EXPECT_EQ(plan[1].before, "");
  EXPECT_EQ(plan[1].bytes, (std::vector<int>{2, 0xF2}));
  EXPECT_EQ(plan[1].success, "SendDiSEqC(1, F2) success.");
  EXPECT_EQ(plan[1].failure, "SendDiSEqC(1, F2) failed !");
  EXPECT_EQ(plan[2].bytes, (std::vector<int>{1, 1}));
  EXPECT_EQ(plan[2].success, "SendDiSEqC(0, 01) success.");
  EXPECT_EQ(plan[3].before, "DiSEqC 1.2: E0 31 6B 0C");
  EXPECT_EQ(plan[3].bytes, (std::vector<int>{0xE0, 0x31, 0x6B, 0x0C}));
}

TEST(PlanDiseqcSend, NothingTickedSendsNothing) {
  EXPECT_TRUE(PlanDiseqcSend(Defaults(), kAll).empty());
  DiseqcSettings s = Defaults();
  s.receiveReply = true;
  EXPECT_TRUE(PlanDiseqcSend(s, kAll).empty());
}

// One ticked item at a time, for each set of exported entry points.
TEST(PlanDiseqcSend, EachItemTakesTheEntryPointItMay) {
  enum Item { Uncommitted, Committed, Burst, Positioner };
  struct Case {
    const char* what;
    Item item;
    bool reply;
    DiseqcEntries entries;
    std::vector<std::string> lines;  // before-line (if any) and success line; empty: skipped
  } cases[] = {
      {"1.1 plain",
       Uncommitted,
       false,
       kAll,
       {"DiSEqC 1.1: E0 10 39 F0", "SendDiseqCmd() success."}},
      {"1.1 reply",
       Uncommitted,
       true,
       kAll,
       {"DiSEqC 2.1: E2 10 39 F0", "SendDiseqCmdEx() success."}},
      {"1.1 reply, no Ex",
       Uncommitted,
       true,
       {true, true, false},
       {"DiSEqC 1.1: E0 10 39 F0", "SendDiseqCmd() success."}},
      {"1.1 needs SendDiseqCmd even for the reply", Uncommitted, true, {true, false, true}, {}},
      {"1.0 plain", Committed, false, kAll, {"SendDiSEqC(1, F2) success."}},
      {"1.0 reply",
       Committed,
       true,
       kAll,
       {"DiSEqC 2.0: E2 10 38 F2", "SendDiseqCmdEx() success."}},
      {"1.0 reply through Ex alone",
       Committed,
       true,
       {false, false, true},
       {"DiSEqC 2.0: E2 10 38 F2", "SendDiseqCmdEx() success."}},
      {"1.0 without SendDiSEqC",
       Committed,
       false,
       {false, true, true},
       {"DiSEqC 1.0: E0 10 38 F2", "SendDiseqCmd() success."}},
      {"1.0 reply unticked, Ex alone", Committed, false, {false, false, true}, {}},
      {"burst", Burst, false, kAll, {"SendDiSEqC(0, 00) success."}},
      {"burst without SendDiSEqC", Burst, true, {false, true, true}, {}},
      {"1.2 plain",
       Positioner,
       false,
       kAll,
       {"DiSEqC 1.2: E0 31 6B 00", "SendDiseqCmd() success."}},
      {"1.2 reply",
       Positioner,
       true,
       kAll,
       {"DiSEqC 2.2: E2 31 6B 00", "SendDiseqCmdEx() success."}},
      {"1.2 without SendDiseqCmd", Positioner, true, {true, false, true}, {}},
  };
  for (const Case& c : cases) {
    DiseqcSettings s = Defaults();
    s.receiveReply = c.reply;
    s.diseqc11 = c.item == Uncommitted, s.diseqc10 = c.item == Committed;
    s.simple = c.item == Burst, s.diseqc12 = c.item == Positioner;
    std::vector<std::string> lines;
    for (const Shown& x : Show(s, c.entries)) {
      if (!x.before.empty()) lines.push_back(x.before);
      lines.push_back(x.success);
    }
    EXPECT_EQ(lines, c.lines) << c.what;
  }
}

TEST(PlanDiseqcSend, ListIndexesBecomeDataBytes) {
  struct Case {
    int32_t index;
    const char* uncommitted;
    const char* positioner;
  } cases[] = {
      {0, "DiSEqC 1.1: E0 10 39 F0", "DiSEqC 1.2: E0 31 6B 00"},
      {15, "DiSEqC 1.1: E0 10 39 FF", "DiSEqC 1.2: E0 31 6B 0F"},
      {59, "DiSEqC 1.1: E0 10 39 FB", "DiSEqC 1.2: E0 31 6B 3B"},
      {-1, "DiSEqC 1.1: E0 10 39 FF", "DiSEqC 1.2: E0 31 6B FF"},
  };
  for (const Case& c : cases) {
    DiseqcSettings s = Defaults();
    s.diseqc11 = s.diseqc12 = true;
    s.uncommittedIndex = s.positionerIndex = c.index;
    const auto plan = Show(s, kAll);
    ASSERT_EQ(plan.size(), 2u);
    EXPECT_EQ(plan[0].before, c.uncommitted) << c.index;
    EXPECT_EQ(plan[1].before, c.positioner) << c.index;
  }
}

TEST(DiseqcReplyLine, ShowsTwoOrMoreBytesAndNeverMoreThanTheBuffer) {
  const uint8_t reply[8] = {0xE4, 0x00, 0x1F, 0x22, 0x33, 0x44, 0x55, 0xA6};
  struct Case {
    uint32_t count;
    const char* line;
  } cases[] = {
      {0, "No reply !"},
      {1, "No reply !"},
      {2, "Reply: E4 00"},
      {3, "Reply: E4 00 1F"},
      {8, "Reply: E4 00 1F 22 33 44 55 A6"},
      {9, "Reply: E4 00 1F 22 33 44 55 A6"},
      {0xFFFFFFFFu, "Reply: E4 00 1F 22 33 44 55 A6"},
  };
  for (const Case& c : cases) EXPECT_EQ(DiseqcReplyLine(reply, c.count), c.line) << c.count;
}

}  // namespace
