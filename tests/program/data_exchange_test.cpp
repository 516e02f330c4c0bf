// The main dialog's data exchange where scenarios cannot look: the number
// parser's bounds, the members left as they were after a bad field, and a
// radio group with nothing ticked.
#include "framework/data_exchange.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/quorvex_demo_dlg.h"
#include "framework/dialog_life.h"
#include "hosts/headless/headless_host.h"
#include "hosts/headless/headless_window.h"
#include "res/resource_ids.h"

namespace {

// Guards an overflow past 2^32-1 read as a wrapped value, and signs or hex taken.
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

// The main dialog on the script host's window, with no script and no library.
struct MainDialogExchange : ::testing::Test {
  std::istringstream script;
  std::ostringstream transcript;
  headless::HeadlessHost host{script, transcript};
  CQuorvexDemoDlg dlg;
  headless::HeadlessWindow window{dlg, host};
  void SetUp() override {
    fw::SeedTemplateEntries(dlg.Template(), window);  // as the dialog's start does
    dlg.AttachWindow(&window);
    ASSERT_TRUE(dlg.UpdateData(false));
  }
  void TearDown() override { dlg.AttachWindow(nullptr); }
};

// Guards reading on past a bad field, or writing members at and after it:
// written back, the controls show the members as the exchange left them.
TEST_F(MainDialogExchange, ReadingStopsAtTheFirstBadNumberAndLaterMembersKeepTheirValues) {
  window.SetText(IDC_EDIT_FREQ, "11000");
  window.SetCurSel(IDC_LIST_POL, 1);
  window.SetText(IDC_EDIT_LOF_HIGH, "10x");  // the 7th member read
  window.SetText(IDC_EDIT_LOF_SWITCH, "12000");
  window.SetCheck(IDC_CHK_LOG_TO_FILE, 1);
  window.SetText(IDC_EDIT_PID, "100");

  EXPECT_FALSE(dlg.UpdateData(true));
  EXPECT_EQ(transcript.str(), "box: QuorvexDemo | Please enter a positive integer. | warning\n");
  ASSERT_TRUE(dlg.UpdateData(false));
  // Before the bad field: read. At and after it: untouched.
  EXPECT_EQ(window.GetText(IDC_EDIT_FREQ), "11000");
  EXPECT_EQ(window.GetCurSel(IDC_LIST_POL), 1);
  EXPECT_EQ(window.GetText(IDC_EDIT_LOF_HIGH), "10600");
  EXPECT_EQ(window.GetText(IDC_EDIT_LOF_SWITCH), "11700");
  EXPECT_EQ(window.GetCheck(IDC_CHK_LOG_TO_FILE), 0);
  EXPECT_EQ(window.GetText(IDC_EDIT_PID), "8192");
}

// Guards a group with nothing ticked read as its first button.
TEST_F(MainDialogExchange, NoTickedRadioReadsAsMinusOne) {
  window.SetCheck(IDC_RADIO_BURST_A, 0);
  ASSERT_TRUE(dlg.UpdateData(true));
  window.SetCheck(IDC_RADIO_BURST_B, 1);
  ASSERT_TRUE(dlg.UpdateData(false));
  EXPECT_EQ(window.GetCheck(IDC_RADIO_BURST_A), 0);
  EXPECT_EQ(window.GetCheck(IDC_RADIO_BURST_B), 0);
}

}  // namespace
