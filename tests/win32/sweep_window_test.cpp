// The native sweep window follows a model the test steers and forwards to it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hosts/win32/sweep_window_win32.h"
#include "hosts/win32/win32_window.h"

namespace {

using W = win32host::SweepWindowWin32;

struct Model final : fw::SweepWindowModel {
  std::vector<std::vector<std::string>> rows;
  size_t total = 0;
  bool running = false;
  int started = 0, stopped = 0, saved = 0, closed = 0;
  std::string Title() const override { return "Transponder sweep"; }
  std::string FileText() const override { return "C:\\scan\\astra.conf"; }
  void ChooseFile() override {}
  bool CanStart() const override { return !running; }
  void Start() override { ++started, running = true; }
  void Stop() override { ++stopped, running = false; }
  bool Running() const override { return running; }
  size_t Finished() const override { return rows.size(); }
  size_t Total() const override { return total; }
  std::vector<std::string> Columns() const override { return {"Place", "Transponder", "Result"}; }
  size_t RowCount() const override { return rows.size(); }
  std::vector<std::string> Row(size_t i) const override { return rows[i]; }
  std::string Status() const override { return ""; }
  void Save() override { ++saved; }
  bool CanSave() const override { return !rows.empty(); }
  void Closed() override { ++closed; }
};

std::string Cell(HWND table, int item, int column) {
  wchar_t text[128] = {};
  LVITEMW cell{};
  cell.iSubItem = column;
  cell.pszText = text;
  cell.cchTextMax = 128;
  SendMessageW(table, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(&cell));
  return win32host::FromWide(text);
}

void Press(HWND frame, int id) {
  SendMessageW(frame, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(frame, id)));
}

TEST(SweepWindowWin32, FollowsTheModelAndForwardsPresses) {
  HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  Model model;
  model.total = 3;
  W* window = W::Create(owner, model);
  ASSERT_NE(window, nullptr);
  HWND frame = window->Frame();
  HWND table = GetDlgItem(frame, W::kTable), progress = GetDlgItem(frame, W::kProgress);

  Press(frame, W::kStart);
  model.rows = {{"1", "10714 H 22000", "locked"}};
  window->ShowNewData();  // row by row: the second call adds only the new one
  model.rows.push_back({"2", "10744 V 22000", "no lock"});
  window->ShowNewData();
  ASSERT_EQ(SendMessageW(table, LVM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(Cell(table, 0, 1), "10714 H 22000");
  EXPECT_EQ(SendMessageW(progress, PBM_GETPOS, 0, 0), 2);
  EXPECT_EQ(SendMessageW(progress, PBM_GETRANGE, FALSE, 0), 3);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(frame, W::kStart)));
  Press(frame, W::kStart);  // disabled: the running sweep is not started again
  EXPECT_EQ(model.started, 1);

  Press(frame, W::kStop);
  window->ShowNewData();
  EXPECT_EQ(model.stopped, 1);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(frame, W::kStop)));
  Press(frame, W::kSave);
  EXPECT_EQ(model.saved, 1);

  // A new sweep with fewer rows than shown: the table shows only its own.
  model.rows = {{"1", "11038 V 27500", "locked"}};
  window->ShowNewData();
  ASSERT_EQ(SendMessageW(table, LVM_GETITEMCOUNT, 0, 0), 1);
  EXPECT_EQ(Cell(table, 0, 1), "11038 V 27500");

  SendMessageW(frame, WM_CLOSE, 0, 0);
  EXPECT_EQ(model.closed, 1);
  EXPECT_FALSE(IsWindow(frame));
  DestroyWindow(owner);
}

}  // namespace
