// The main dialog's data exchange: visiting order, where reading stops, and
// that writing members back puts every value in its control.
#include "framework/data_exchange.h"

#include <gtest/gtest.h>

#include "app/quorvex_demo_app.h"
#include "app/quorvex_demo_dlg.h"
#include "res/resource_ids.h"
#include "tests/program/fake_window.h"

namespace {

// Exposes the protected exchange for the test.
class TestDlg : public CQuorvexDemoDlg {
 public:
  using CQuorvexDemoDlg::UpdateData;
};

struct Fixture : ::testing::Test {
  TestDlg dlg;
  FakeWindow window{dlg.Template()};
  void SetUp() override {
    // The application object names the framework's boxes; link it in.
    ASSERT_TRUE(theApp.startSockets);
    dlg.AttachWindow(&window);
    ASSERT_TRUE(dlg.UpdateData(false));
    window.reads.clear();
  }
  void TearDown() override { dlg.AttachWindow(nullptr); }
};

TEST(ParseUnsigned32, AcceptsOnlyUnsigned32BitDecimal) {
  struct Case {
    const char* text;
    bool ok;
    uint32_t value;
  } cases[] = {
      {"0", true, 0},
      {"10722", true, 10722},
      {" 42 ", true, 42},
      {"4294967295", true, 4294967295u},
      {"4294967296", false, 0},
      {"", false, 0},
      {"   ", false, 0},
      {"-1", false, 0},
      {"+1", false, 0},
      {"12a", false, 0},
      {"1 2", false, 0},
      {"0x10", false, 0},
      {"99999999999999999999", false, 0},
  };
  for (const Case& c : cases) {
    uint32_t v = 7;
    EXPECT_EQ(fw::ParseUnsigned32(c.text, v), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(v, c.value) << c.text;
    }
  }
}

TEST_F(Fixture, WritingShowsTheDefaultsInTheControls) {
  EXPECT_EQ(window.C(IDC_EDIT_FREQ).text, "10722");
  EXPECT_EQ(window.C(IDC_EDIT_SYMRATE).text, "27500");
  EXPECT_EQ(window.C(IDC_EDIT_LOF_LOW).text, "9750");
  EXPECT_EQ(window.C(IDC_EDIT_LOF_SWITCH).text, "11700");
  EXPECT_EQ(window.C(IDC_EDIT_LOF_HIGH).text, "10600");
  EXPECT_EQ(window.C(IDC_EDIT_PID).text, "8192");
  EXPECT_EQ(window.C(IDC_STATIC_FILTER_INFO).text, "");
  for (int id : {IDC_LIST_POL, IDC_LIST_FEC, IDC_LIST_MODULATION, IDC_LIST_RC_TYPE, IDC_LIST_RC_DEV,
                 IDC_LIST_INVERSION, IDC_LIST_PILOT, IDC_LIST_ROLLOFF}) {
    EXPECT_EQ(window.C(id).sel, 0) << id;
  }
  EXPECT_EQ(window.C(IDC_RADIO_BURST_A).check, 1);
  EXPECT_EQ(window.C(IDC_RADIO_BURST_B).check, 0);
  // Lists bound as controls keep their (empty) selection.
  EXPECT_EQ(window.C(IDC_CB_DEVICE).sel, -1);
  EXPECT_EQ(window.C(IDC_LIST_MIS).sel, -1);
}

TEST_F(Fixture, ReadingVisitsTheControlsInBindingOrder) {
  ASSERT_TRUE(dlg.UpdateData(true));
  const std::vector<int> expected = {1001, 1006, 1007, 1010, 1002, 1023, 1025, 1024,
                                     1030, 1034, 1031, 1035, 1037, 1039, 1045, 1044,
                                     1046, 1049, 1052, 1054, 1055, 1057, 1060, 1061};
  EXPECT_EQ(window.reads, expected);
}

TEST_F(Fixture, ReadingStopsAtTheFirstBadNumberAndLaterMembersKeepTheirValues) {
  window.C(IDC_EDIT_FREQ).text = "11000";
  window.C(IDC_LIST_POL).sel = 1;
  window.C(IDC_EDIT_LOF_HIGH).text = "10x";  // the 7th member read
  window.C(IDC_EDIT_LOF_SWITCH).text = "12000";
  window.C(IDC_CHK_LOG_TO_FILE).check = 1;
  window.C(IDC_EDIT_PID).text = "100";

  EXPECT_FALSE(dlg.UpdateData(true));
  ASSERT_EQ(window.boxes.size(), 1u);
  EXPECT_EQ(window.boxes[0], "QuorvexDemo | Please enter a positive integer.");
  // Before the bad field: read. At and after it: untouched.
  EXPECT_EQ(dlg.m_nFreq, 11000u);
  EXPECT_EQ(dlg.m_nPol, 1);
  EXPECT_EQ(dlg.m_nLofHigh, 10600u);
  EXPECT_EQ(dlg.m_nLofSwitch, 11700u);
  EXPECT_EQ(dlg.m_bLogToFile, 0);
  EXPECT_EQ(dlg.m_nPid, 8192u);
  EXPECT_EQ(window.reads.back(), IDC_EDIT_LOF_HIGH);
}

TEST_F(Fixture, WriteBackShowsChangedMembers) {
  dlg.m_nFreq = 12345;
  dlg.m_nBurst = 1;
  dlg.m_bRcEnable = 1;
  dlg.m_nRollOff = 3;
  dlg.m_strFilterInfo = "Total: 5 Kb";
  ASSERT_TRUE(dlg.UpdateData(false));
  EXPECT_EQ(window.C(IDC_EDIT_FREQ).text, "12345");
  EXPECT_EQ(window.C(IDC_RADIO_BURST_A).check, 0);
  EXPECT_EQ(window.C(IDC_RADIO_BURST_B).check, 1);
  EXPECT_EQ(window.C(IDC_CHK_RC_ENABLE).check, 1);
  EXPECT_EQ(window.C(IDC_LIST_ROLLOFF).sel, 3);
  EXPECT_EQ(window.C(IDC_STATIC_FILTER_INFO).text, "Total: 5 Kb");

  // And a round trip reads the same values back.
  ASSERT_TRUE(dlg.UpdateData(true));
  EXPECT_EQ(dlg.m_nBurst, 1);
  EXPECT_EQ(dlg.m_nRollOff, 3);
}

TEST_F(Fixture, NoTickedRadioReadsAsMinusOne) {
  window.C(IDC_RADIO_BURST_A).check = 0;
  ASSERT_TRUE(dlg.UpdateData(true));
  EXPECT_EQ(dlg.m_nBurst, -1);
}

}  // namespace
