// "Tune" and the signal poll on the dialog, against library entry points
// faked here: which entry point is used, what it receives, what is shown.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/resource_ids.h"
#include "tests/program/fake_window.h"
#include "tests/program/main_dialog_fixture.h"
#include "tuner/tuner_api.h"

namespace {

// What the fake library does and what it was asked.
struct FakeLibrary {
  std::vector<std::string> calls;
  int32_t result = 1;
  QvStatistic statistic{1, 80, 1, 68};
  int32_t level = 55, quality = 66;
  float floatLevel = 42.5f;
  bool writeExEx = true;
  int32_t lock = 1, rf = -45;
  float snr = 15.5f, ber = 0.00025f;
};
FakeLibrary lib;

std::string Args(std::initializer_list<uint32_t> values) {
  std::string s;
  for (uint32_t v : values) {
    if (!s.empty()) s += ',';
    s += std::to_string(v);
  }
  return s;
}

int32_t FakeSetChannel(uint32_t f, uint32_t s, uint32_t p, uint32_t fec, uint32_t l, uint32_t h,
                       uint32_t sw) {
  lib.calls.push_back("SetChannel(" + Args({f, s, p, fec, l, h, sw}) + ")");
  return lib.result;
}
int32_t FakeSetChannelEx(uint32_t f, uint32_t s, uint32_t p, uint32_t fec, uint32_t l, uint32_t h,
                         uint32_t sw, uint32_t m) {
  lib.calls.push_back("SetChannelEx(" + Args({f, s, p, fec, l, h, sw, m}) + ")");
  return lib.result;
}
int32_t FakeSetChannelExEx(uint32_t f, uint32_t s, uint32_t p, uint32_t fec, uint32_t l, uint32_t h,
                           uint32_t sw, uint32_t m, uint32_t i, uint32_t pi, uint32_t r) {
  lib.calls.push_back("SetChannelExEx(" + Args({f, s, p, fec, l, h, sw, m, i, pi, r}) + ")");
  return lib.result;
}
int32_t FakeStatistic(QvStatistic* s) {
  lib.calls.push_back("Statistic");
  EXPECT_EQ(s->lock | s->quality | s->present | s->level, 0) << "record not cleared";
  if (lib.result) *s = lib.statistic;
  return lib.result;
}
int32_t FakeGetSignal(int32_t* l, int32_t* q) {
  lib.calls.push_back("GetSignal");
  if (lib.result) *l = lib.level, *q = lib.quality;
  return lib.result;
}
int32_t FakeGetSignalStrength(float* l, int32_t* q) {
  lib.calls.push_back("GetSignalStrength");
  if (lib.result) *l = lib.floatLevel, *q = lib.quality;
  return lib.result;
}
int32_t FakeGetSignalEx(float* snr, float* ber) {
  lib.calls.push_back("GetSignalEx");
  if (lib.result) *snr = lib.snr, *ber = lib.ber;
  return lib.result;
}
int32_t FakeGetSignalExEx(uint32_t*, int32_t* lock, int32_t* rf, float* snr, float* ber) {
  lib.calls.push_back("GetSignalExEx");
  if (lib.result && lib.writeExEx) *lock = lib.lock, *rf = lib.rf, *snr = lib.snr, *ber = lib.ber;
  return lib.result;
}

// Records the order in which display texts are set.
class RecordingWindow : public FakeWindow {
 public:
  using FakeWindow::FakeWindow;
  std::vector<int> textOrder;
  void SetText(int id, const std::string& t) override {
    textOrder.push_back(id);
    FakeWindow::SetText(id, t);
  }
};

struct TuneAndSignal : MainDialogOnFakeLibrary<RecordingWindow> {
  void SetUp() override {
    MainDialogOnFakeLibrary::SetUp();
    TunerApi.SetChannel = FakeSetChannel;
    lib = FakeLibrary{};
    for (int id : {IDC_STATIC_RFLEVEL, IDC_STATIC_SNR, IDC_STATIC_BER}) window.C(id).enabled = true;
    window.textOrder.clear();
  }
  std::string Text(int id) const { return window.C(id).text; }
};

TEST_F(TuneAndSignal, RichestTuningEntryPointGetsConvertedUnitsAndIndexes) {
  TunerApi.SetChannelEx = FakeSetChannelEx;
  TunerApi.SetChannelExEx = FakeSetChannelExEx;
  window.C(IDC_EDIT_FREQ).text = "12188";
  window.C(IDC_LIST_POL).sel = 1;
  window.C(IDC_LIST_FEC).sel = 14;
  window.C(IDC_LIST_MODULATION).sel = 20;
  window.C(IDC_LIST_INVERSION).sel = 2;
  window.C(IDC_LIST_PILOT).sel = 1;
  window.C(IDC_LIST_ROLLOFF).sel = 3;
  Click(IDC_BTN_TUNE);
  EXPECT_EQ(lib.calls, std::vector<std::string>{"SetChannelExEx(12188000,27500000,1,14,9750000,"
                                                "10600000,11700000,20,2,1,3)"});
  const std::vector<std::string> log = {"Frequency=12188, Symrate=27500, Pol=1, FEC=14",
                                        "LOF1=9750, LOF2=10600, LOFSW=11700",
                                        "Modulation=20",
                                        "Inversion=2",
                                        "Pilot=1",
                                        "RollOff=3",
                                        "SetChannelExEx success !"};
  EXPECT_EQ(Log(), log);
  EXPECT_TRUE(window.boxes.empty());
}

TEST_F(TuneAndSignal, FailureShowsTheBoxAndNeverFallsBack) {
  struct Case {
    bool ex, exex;
    std::string call, box;
    size_t lines;
  } cases[] = {
      {true, true, "SetChannelExEx", "Error | SetChannelExEx failed !", 6},
      {true, false, "SetChannelEx", "Error | SetChannelEx failed !", 3},
      {false, false, "SetChannel", "Error | SetChannel failed !", 2},
  };
  for (const Case& c : cases) {
    TunerApi.SetChannelEx = c.ex ? FakeSetChannelEx : nullptr;
    TunerApi.SetChannelExEx = c.exex ? FakeSetChannelExEx : nullptr;
    lib = FakeLibrary{};
    lib.result = 0;
    window.boxes.clear();
    window.C(IDC_LIST_LOG).entries.clear();
    Click(IDC_BTN_TUNE);
    ASSERT_EQ(lib.calls.size(), 1u) << c.call;
    EXPECT_EQ(lib.calls[0].substr(0, lib.calls[0].find('(')), c.call);
    EXPECT_EQ(window.boxes, std::vector<std::string>{c.box});
    EXPECT_EQ(Log().size(), c.lines) << "a failure line was logged";
  }
}

TEST_F(TuneAndSignal, EntryTooLargeIsLoggedThenRefusedWithoutACall) {
  window.C(IDC_EDIT_LOF_HIGH).text = "4294968";
  Click(IDC_BTN_TUNE);
  EXPECT_TRUE(lib.calls.empty());
  EXPECT_EQ(window.boxes,
            std::vector<std::string>{"Error | LOF2=4294968 is too large (max 4294967) !"});
  EXPECT_EQ(Log(), (std::vector<std::string>{"Frequency=10722, Symrate=27500, Pol=0, FEC=0",
                                             "LOF1=9750, LOF2=4294968, LOFSW=11700"}));
}

TEST_F(TuneAndSignal, PollUsesTheRichestLevelEntryPointOnly) {
  struct Case {
    bool statistic, getSignal, strength;
    std::string call, level, quality;
  } cases[] = {
      {true, true, true, "Statistic", "Level: 68%", "Quality: 80%"},
      {false, true, true, "GetSignal", "Level: 55%", "Quality: 66%"},
      {false, false, true, "GetSignalStrength", "Level: 42.50%", "Quality: 66%"},
  };
  for (const Case& c : cases) {
    TunerApi.Statistic = c.statistic ? FakeStatistic : nullptr;
    TunerApi.GetSignal = c.getSignal ? FakeGetSignal : nullptr;
    TunerApi.GetSignalStrength = c.strength ? FakeGetSignalStrength : nullptr;
    lib = FakeLibrary{};
    window.textOrder.clear();
    Tick();
    EXPECT_EQ(lib.calls, std::vector<std::string>{c.call});
    EXPECT_EQ(Text(IDC_STATIC_LEVEL), c.level);
    EXPECT_EQ(Text(IDC_STATIC_QUALITY), c.quality);
    EXPECT_EQ(window.textOrder, (std::vector<int>{IDC_STATIC_LEVEL, IDC_STATIC_QUALITY}));
  }
}

TEST_F(TuneAndSignal, FailedStatisticKeepsPresentAndLock) {
  TunerApi.Statistic = FakeStatistic;
  Tick();
  EXPECT_EQ(window.C(IDC_CHK_PRESENT).check, 1);
  EXPECT_EQ(window.C(IDC_CHK_LOCK).check, 1);
  lib.result = 0;
  Tick();
  EXPECT_EQ(Text(IDC_STATIC_LEVEL), "Level: error");
  EXPECT_EQ(Text(IDC_STATIC_QUALITY), "Quality: error");
  EXPECT_EQ(window.C(IDC_CHK_PRESENT).check, 1);
  EXPECT_EQ(window.C(IDC_CHK_LOCK).check, 1);
  // Flags go to the boxes as they come.
  lib.result = 1;
  lib.statistic = {0, 0, 1, 12};
  Tick();
  EXPECT_EQ(window.C(IDC_CHK_PRESENT).check, 1);
  EXPECT_EQ(window.C(IDC_CHK_LOCK).check, 0);
}

TEST_F(TuneAndSignal, ExtendedGroupFollowsPresenceAndEnabledState) {
  struct Case {
    bool exex, ex, rfEnabled, berEnabled;
    std::vector<std::string> calls;
    std::vector<int> texts;
  } cases[] = {
      {true, true, true, true, {"GetSignalExEx"}, {1069, 1016, 1017}},
      {true, true, false, true, {"GetSignalEx"}, {1016, 1017}},
      {true, true, false, false, {}, {}},
      {true, false, false, true, {}, {}},
      {false, true, true, true, {"GetSignalEx"}, {1016, 1017}},
      {false, true, true, false, {}, {}},
  };
  for (const Case& c : cases) {
    TunerApi.GetSignalExEx = c.exex ? FakeGetSignalExEx : nullptr;
    TunerApi.GetSignalEx = c.ex ? FakeGetSignalEx : nullptr;
    window.C(IDC_STATIC_RFLEVEL).enabled = c.rfEnabled;
    window.C(IDC_STATIC_BER).enabled = c.berEnabled;
    lib = FakeLibrary{};
    window.textOrder.clear();
    Tick();
    EXPECT_EQ(lib.calls, c.calls);
    EXPECT_EQ(window.textOrder, c.texts);
  }
}

TEST_F(TuneAndSignal, ExtendedTextsWithAndWithoutLock) {
  TunerApi.GetSignalExEx = FakeGetSignalExEx;
  Tick();
  EXPECT_EQ(Text(IDC_STATIC_RFLEVEL), "RFLevel: -45dBm");
  EXPECT_EQ(Text(IDC_STATIC_SNR), "SNR: 15.50dB");
  EXPECT_EQ(Text(IDC_STATIC_BER), "BER: 0.00025");
  lib.lock = 0;
  lib.snr = 8.5f;
  lib.rf = -61;
  Tick();
  EXPECT_EQ(Text(IDC_STATIC_RFLEVEL), "RFLevel: -61dBm");
  EXPECT_EQ(Text(IDC_STATIC_SNR), "SNR: -10.00dB");
  EXPECT_EQ(Text(IDC_STATIC_BER), "BER: 1.00000");
  // Success without the outputs written reads as no lock at 0 dBm.
  lib.writeExEx = false;
  Tick();
  EXPECT_EQ(Text(IDC_STATIC_RFLEVEL), "RFLevel: 0dBm");
  EXPECT_EQ(Text(IDC_STATIC_SNR), "SNR: -10.00dB");
  lib.result = 0;
  Tick();
  EXPECT_EQ(Text(IDC_STATIC_RFLEVEL), "RFLevel: error");
  EXPECT_EQ(Text(IDC_STATIC_SNR), "SNR: error");
  EXPECT_EQ(Text(IDC_STATIC_BER), "BER: error");
}

TEST_F(TuneAndSignal, OtherTimersAndMissingEntryPointsTouchNothing) {
  TunerApi.Statistic = FakeStatistic;
  TunerApi.GetSignalExEx = FakeGetSignalExEx;
  Tick(34);
  Tick(0);
  EXPECT_TRUE(lib.calls.empty());
  EXPECT_TRUE(window.textOrder.empty());
  TunerApi.Statistic = nullptr;
  TunerApi.GetSignalExEx = nullptr;
  Tick();
  EXPECT_EQ(Text(IDC_STATIC_LEVEL), "Level :");
  EXPECT_EQ(Text(IDC_STATIC_QUALITY), "Quality :");
  EXPECT_TRUE(window.textOrder.empty());
}

}  // namespace
