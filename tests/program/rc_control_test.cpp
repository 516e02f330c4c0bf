// Remote-control reception against a stand-in library: what a failed call
// leaves behind, and how the callbacks reach the log from another thread.
#include "remote/rc_control.h"

#include <gtest/gtest.h>

#include <thread>

#include "remote/rc_line.h"
#include "tests/program/fake_ui.h"

namespace {

int32_t setResult = 1;
int32_t setWrites = 7;  // what SetRemoteControl stores, even when failing
int32_t delResult = 1;
int32_t lastDel = 0;
uint32_t lastType = 99;

int32_t QV_API FakeSetRemoteControl(uint32_t type, uint32_t, QvRcCallback, int32_t* filter) {
  lastType = type;
  *filter = setWrites;
  return setResult;
}
int32_t QV_API FakeDelFilter(int32_t filter) {
  lastDel = filter;
  return delResult;
}

struct Rc : FakeLibrary {
  FakeUi ui;
  RcControl rc{ui};
  void SetUp() override {
    FakeLibrary::SetUp();
    TunerApi.SetRemoteControl = FakeSetRemoteControl;
    TunerApi.DelFilter = FakeDelFilter;
    setResult = 1, setWrites = 7, delResult = 1, lastDel = 0, lastType = 99;
  }
  void TearDown() override {
    ui.Pump();
    FakeLibrary::TearDown();
  }
  // The "Enable" box: ticking starts, unticking stops.
  void Click() {
    if (rc.Running()) {
      rc.Stop();
    } else {
      rc.Start();
    }
  }
  const std::vector<std::string>& Log() const { return ui.lines; }
};

// Guards keeping a number a refusing library scribbled, and registering a
// second filter while the first could not be deleted.
TEST_F(Rc, FailedEnablingKeepsNoNumberTheLibraryScribbled) {
  setResult = 0;
  Click();
  EXPECT_EQ(rc.m_bRcEnable, 0);
  EXPECT_EQ(rc.Filter().Number(), -1);
  EXPECT_EQ(Log(), std::vector<std::string>{"SetRemoteControl() for RAW RC failed !"});

  // A number still registered after a failed deletion is deleted before the
  // next enabling; while that fails too, nothing new is registered and the
  // number stays for closing to delete.
  setResult = 1, setWrites = 4;
  Click();
  delResult = 0;
  Click();
  EXPECT_EQ(lastDel, 4);
  setResult = 0, setWrites = 99;
  Click();
  EXPECT_EQ(rc.Filter().Number(), 4);
  EXPECT_EQ(Log(),
            (std::vector<std::string>{"SetRemoteControl() for RAW RC failed !", "RAW RC enabled.",
                                      "DelFilter() failed !", "DelFilter() failed !"}));
}

// Guards reading past the type table for a row the list has and the table not.
TEST_F(Rc, TypeWithoutARowChangesNothing) {
  rc.m_nRcType = 3;
  rc.m_bRcEnable = 1;
  Click();
  EXPECT_EQ(lastType, 99u) << "the library was called";
  EXPECT_TRUE(Log().empty());
  EXPECT_EQ(rc.m_bRcEnable, 1);
}

// Guards a callback touching the list on the library's thread, one post per
// code instead of a batch, codes reordered between threads, and codes of a
// library that calls back after DelFilter returned reaching the list.
TEST_F(Rc, CallbacksOnAnotherThreadOnlyPostAndKeepTheirOrder) {
  Click();
  ASSERT_EQ(Log(), std::vector<std::string>{"RAW RC enabled."});
  ui.lines.clear();
  std::thread library([] {
    const uint16_t word = 0x394C;
    const uint8_t key = 0x1C;
    const uint8_t raw[] = {0x12, 0xAB, 0x00};
    for (int i = 0; i < 100; ++i) {
      Rc5Callback(&word, 2);
      Rc5Callback(&key, 1);
      RcRawCallback(raw, 3);
      Rc6Callback(&word, 2);
    }
  });
  library.join();
  EXPECT_TRUE(Log().empty()) << "a callback touched the list from the library's thread";
  EXPECT_EQ(ui.Pump(), 1u) << "one post for every line queued while none ran";
  const std::vector<std::string> lines = Log();
  ASSERT_EQ(lines.size(), 400u);
  for (size_t i = 0; i < lines.size(); i += 4) {
    EXPECT_EQ(lines[i], "RC5:394C - Dev=05 Key=0C Toggle=1");
    EXPECT_EQ(lines[i + 1], "RC5: Key=1C");
    EXPECT_EQ(lines[i + 2], "RC RAW: 12 AB 00");
    EXPECT_EQ(lines[i + 3], "RC6: 394C");
  }

  Click();
  ui.lines.clear();
  const uint16_t word = 0x394C;
  std::thread([&] { Rc5Callback(&word, 2); }).join();
  ui.Pump();
  EXPECT_TRUE(Log().empty()) << "a code after DelFilter returned was logged";
}

}  // namespace
