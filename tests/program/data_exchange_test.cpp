// The main dialog's data exchange where scenarios cannot look: the number
// parser's bounds, the members left as they were after a bad field, and a
// radio group with nothing ticked.
#include "framework/data_exchange.h"

#include <gtest/gtest.h>

#include "tests/program/main_dialog_fixture.h"

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

// Guards reading on past a bad field, or writing members at and after it.
TEST_F(MainDialogOnFakeLibrary, ReadingStopsAtTheFirstBadNumberAndLaterMembersKeepTheirValues) {
  window.C(IDC_EDIT_FREQ).text = "11000";
  window.C(IDC_LIST_POL).list.Select(1);
  window.C(IDC_EDIT_LOF_HIGH).text = "10x";  // the 7th member read
  window.C(IDC_EDIT_LOF_SWITCH).text = "12000";
  window.C(IDC_CHK_LOG_TO_FILE).check = 1;
  window.C(IDC_EDIT_PID).text = "100";

  EXPECT_FALSE(dlg.UpdateData(true));
  ASSERT_EQ(window.boxes.size(), 1u);
  EXPECT_EQ(window.boxes[0], "QuorvexDemo | Please enter a positive integer.");
  // Before the bad field: read. At and after it: untouched.
  EXPECT_EQ(peer.Member(IDC_EDIT_FREQ), 11000);
  EXPECT_EQ(peer.Member(IDC_LIST_POL), 1);
  EXPECT_EQ(peer.Member(IDC_EDIT_LOF_HIGH), 10600);
  EXPECT_EQ(peer.Member(IDC_EDIT_LOF_SWITCH), 11700);
  EXPECT_EQ(peer.Member(IDC_CHK_LOG_TO_FILE), 0);
  EXPECT_EQ(peer.Member(IDC_EDIT_PID), 8192);
  EXPECT_EQ(window.reads.back(), IDC_EDIT_LOF_HIGH);
}

// Guards a group with nothing ticked read as its first button.
TEST_F(MainDialogOnFakeLibrary, NoTickedRadioReadsAsMinusOne) {
  window.C(IDC_RADIO_BURST_A).check = 0;
  ASSERT_TRUE(dlg.UpdateData(true));
  EXPECT_EQ(peer.Member(IDC_RADIO_BURST_A), -1);
}

}  // namespace
