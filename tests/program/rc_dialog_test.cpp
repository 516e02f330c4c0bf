// The remote-control handlers against a stand-in library: what a failed call
// leaves behind, and how the callbacks reach the list from another thread.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "app/quorvex_demo_app.h"
#include "app/quorvex_demo_dlg.h"
#include "remote/rc_line.h"
#include "res/resource_ids.h"
#include "tests/program/fake_window.h"
#include "tests/program/queue_host.h"
#include "tuner/tuner_api.h"

namespace {

class TestDlg : public CQuorvexDemoDlg {
 public:
  using CQuorvexDemoDlg::OnRcEnableClicked;
  using CQuorvexDemoDlg::OnRcTypeChanged;
  using CQuorvexDemoDlg::UpdateData;
};

// The stand-in library's answers.
int32_t setResult = 1;
int32_t setWrites = 7;  // what SetRemoteControl stores, even when failing
int32_t delResult = 1;
int32_t lastDel = 0;
uint32_t lastType = 99, lastDevice = 99;

int32_t QV_API FakeSetRemoteControl(uint32_t type, uint32_t device, QvRcCallback, int32_t* filter) {
  lastType = type;
  lastDevice = device;
  *filter = setWrites;
  return setResult;
}
int32_t QV_API FakeDelFilter(int32_t filter) {
  lastDel = filter;
  return delResult;
}

struct RcDialog : ::testing::Test {
  QueueHost host;
  TestDlg dlg;
  FakeWindow window{dlg.Template()};
  TunerApiRecord saved = TunerApi;

  void SetUp() override {
    ASSERT_TRUE(theApp.startSockets);
    fw::SetCurrentHost(&host);
    TunerApi.SetRemoteControl = FakeSetRemoteControl;
    TunerApi.DelFilter = FakeDelFilter;
    setResult = 1, setWrites = 7, delResult = 1, lastDel = 0;
    dlg.AttachWindow(&window);
    ASSERT_TRUE(dlg.UpdateData(false));
  }
  void TearDown() override {
    dlg.AttachWindow(nullptr);
    fw::SetCurrentHost(nullptr);
    TunerApi = saved;
  }
  void Click() {
    FakeControl& box = window.C(IDC_CHK_RC_ENABLE);
    box.check = box.check == 1 ? 0 : 1;
    dlg.OnRcEnableClicked();
  }
  std::vector<std::string> Log() const {
    std::vector<std::string> lines;
    for (const auto& e : window.C(IDC_LIST_LOG).entries) lines.push_back(e.first);
    return lines;
  }
};

TEST_F(RcDialog, FailedEnablingKeepsNoNumberTheLibraryScribbled) {
  setResult = 0;
  Click();
  EXPECT_EQ(window.C(IDC_CHK_RC_ENABLE).check, 0);
  EXPECT_EQ(dlg.m_nRcFilter, -1);
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
  EXPECT_EQ(dlg.m_nRcFilter, 4);
  EXPECT_EQ(Log(),
            (std::vector<std::string>{"SetRemoteControl() for RAW RC failed !", "RAW RC enabled.",
                                      "DelFilter() failed !", "DelFilter() failed !"}));
}

TEST_F(RcDialog, TypeWithoutARowChangesNothing) {
  window.C(IDC_LIST_RC_TYPE).entries.push_back({"RC7", 0});
  window.C(IDC_LIST_RC_TYPE).sel = 3;
  lastType = 99;
  Click();
  EXPECT_EQ(lastType, 99u) << "the library was called";
  EXPECT_TRUE(Log().empty());
  EXPECT_EQ(window.C(IDC_CHK_RC_ENABLE).check, 1);
}

TEST_F(RcDialog, DeviceListFollowsTheType) {
  const int expected[] = {0, 1, 0, 1};
  const int picks[] = {0, 1, 2, 1};
  for (int i = 0; i < 4; ++i) {
    window.C(IDC_LIST_RC_TYPE).sel = picks[i];
    dlg.OnRcTypeChanged();
    EXPECT_EQ(window.C(IDC_LIST_RC_DEV).enabled, expected[i] == 1) << "type " << picks[i];
  }
}

TEST_F(RcDialog, CallbacksOnAnotherThreadOnlyPostAndKeepTheirOrder) {
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
  EXPECT_EQ(host.Pump(), 1u) << "one post for every line queued while none ran";
  const std::vector<std::string> lines = Log();
  ASSERT_EQ(lines.size(), 400u);
  for (size_t i = 0; i < lines.size(); i += 4) {
    EXPECT_EQ(lines[i], "RC5:394C - Dev=05 Key=0C Toggle=1");
    EXPECT_EQ(lines[i + 1], "RC5: Key=1C");
    EXPECT_EQ(lines[i + 2], "RC RAW: 12 AB 00");
    EXPECT_EQ(lines[i + 3], "RC6: 394C");
  }
}

}  // namespace
