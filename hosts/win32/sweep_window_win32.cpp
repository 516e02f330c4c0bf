#include "hosts/win32/sweep_window_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "hosts/win32/frame_window.h"
#include "hosts/win32/win32_window.h"

namespace win32host {

namespace {

constexpr wchar_t kFrameClass[] = L"QuorvexDemoSweepFrame";
// Column widths in pixels: the place, the transponder, the outcome, the figures.
constexpr int kColumnWidths[] = {130, 190, 130, 360};

HFONT GuiFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

void RegisterFrameClass(WNDPROC frame) {
  static bool done = false;
  if (done) return;
  done = true;
  // The list view and the progress bar live in comctl32; registering them
  // again when the program already did is harmless.
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  RegisterWindowClass(kFrameClass, frame, FaceBrush());
}

void SetCell(HWND table, int item, int column, const std::string& text) {
  std::wstring wide = ToWide(text);
  LVITEMW cell{};
  cell.mask = LVIF_TEXT;
  cell.iItem = item;
  cell.iSubItem = column;
  cell.pszText = wide.data();
  if (column == 0) {
    SendMessageW(table, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&cell));
  } else {
    SendMessageW(table, LVM_SETITEMTEXTW, static_cast<WPARAM>(item),
                 reinterpret_cast<LPARAM>(&cell));
  }
}

}  // namespace

SweepWindowWin32* SweepWindowWin32::Create(HWND owner, fw::SweepWindowModel& model) {
  RegisterFrameClass(FrameProc);
  auto* self = new SweepWindowWin32(model);
  // Beside the dialog, as the chart window, but never off the work area.
  RECT beside{}, work{};
  GetWindowRect(owner, &beside);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  constexpr int kWidth = 520, kHeight = 480;
  const int x = std::max<int>(work.left, std::min<int>(beside.right + 8, work.right - kWidth));
  const int y = std::max<int>(work.top, std::min<int>(beside.top + 40, work.bottom - kHeight));
  HWND frame = CreateWindowExW(0, kFrameClass, ToWide(model.Title()).c_str(),
                               WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, x, y, kWidth, kHeight, owner,
                               nullptr, GetModuleHandleW(nullptr), self);
  if (frame == nullptr) {
    delete self;
    return nullptr;
  }
  self->ShowNewData();
  ShowWindow(frame, SW_SHOWNORMAL);
  return self;
}

void SweepWindowWin32::CreateControls() {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  const auto child = [&](const wchar_t* cls, const std::string& text, DWORD style, int id) {
    HWND h =
        CreateWindowExW(0, cls, ToWide(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10,
                        frame_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), inst, nullptr);
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(GuiFont()), FALSE);
    return h;
  };
  choose_ = child(L"BUTTON", "Choose...", BS_PUSHBUTTON | WS_TABSTOP, kChoose);
  // A long path keeps its end, the file's name, in view.
  file_ = child(L"STATIC", model_.FileText(), SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS, kFile);
  start_ = child(L"BUTTON", "Start", BS_PUSHBUTTON | WS_TABSTOP, kStart);
  stop_ = child(L"BUTTON", "Stop", BS_PUSHBUTTON | WS_TABSTOP, kStop);
  progress_ = child(PROGRESS_CLASSW, "", 0, kProgress);
  save_ = child(L"BUTTON", "Save CSV...", BS_PUSHBUTTON | WS_TABSTOP, kSave);
  table_ = child(WC_LISTVIEWW, "",
                 LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, kTable);
  SendMessageW(table_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  const std::vector<std::string> columns = model_.Columns();
  for (size_t i = 0; i < columns.size(); ++i) {
    std::wstring title = ToWide(columns[i]);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = LVCFMT_LEFT;
    column.cx = i < std::size(kColumnWidths) ? kColumnWidths[i] : 120;
    column.pszText = title.data();
    SendMessageW(table_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
  status_ = child(L"STATIC", model_.Status(), SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, kStatus);
}

void SweepWindowWin32::Layout(int width, int height) {
  const int inner = std::max(width - 16, 10);
  // The file on a line of its own: a long path must not push the buttons out.
  MoveWindow(choose_, 8, 8, 90, 24, TRUE);
  MoveWindow(file_, 106, 12, std::max(width - 114, 10), 18, TRUE);
  MoveWindow(start_, 8, 40, 70, 24, TRUE);
  MoveWindow(stop_, 84, 40, 70, 24, TRUE);
  MoveWindow(save_, width - 108, 40, 100, 24, TRUE);
  MoveWindow(progress_, 166, 44, std::max(width - 286, 10), 16, TRUE);
  MoveWindow(table_, 8, 72, inner, std::max(height - 104, 10), TRUE);
  MoveWindow(status_, 8, std::max(height - 26, 82), inner, 18, TRUE);
}

void SweepWindowWin32::ShowRows() {
  const size_t rows = model_.RowCount();
  // Fewer rows than shown means a new sweep: all again from its first row.
  if (static_cast<size_t>(SendMessageW(table_, LVM_GETITEMCOUNT, 0, 0)) > rows) {
    SendMessageW(table_, LVM_DELETEALLITEMS, 0, 0);
  }
  const size_t shown = static_cast<size_t>(SendMessageW(table_, LVM_GETITEMCOUNT, 0, 0));
  if (rows == shown) return;
  SendMessageW(table_, WM_SETREDRAW, FALSE, 0);
  for (size_t i = shown; i < rows; ++i) {
    const std::vector<std::string> row = model_.Row(i);
    const int item = static_cast<int>(i);
    SetCell(table_, item, 0, row.empty() ? std::string() : row[0]);
    for (size_t c = 1; c < row.size(); ++c) SetCell(table_, item, static_cast<int>(c), row[c]);
  }
  SendMessageW(table_, WM_SETREDRAW, TRUE, 0);
  SendMessageW(table_, LVM_ENSUREVISIBLE, rows - 1, FALSE);
  InvalidateRect(table_, nullptr, FALSE);
}

void SweepWindowWin32::ShowButtons() {
  EnableWindow(choose_, TRUE);
  EnableWindow(start_, model_.CanStart() ? TRUE : FALSE);
  EnableWindow(stop_, model_.Running() ? TRUE : FALSE);
  EnableWindow(save_, model_.CanSave() ? TRUE : FALSE);
  // A pressed button that its own press disabled (Start, Stop) would leave
  // the keyboard focus on nothing: it moves to the button that took over.
  HWND focus = GetFocus();
  if (focus != nullptr && GetParent(focus) == frame_ && !IsWindowEnabled(focus)) {
    SetFocus(IsWindowEnabled(stop_) ? stop_ : IsWindowEnabled(start_) ? start_ : table_);
  }
}

void SweepWindowWin32::ShowNewData() {
  SetWindowTextW(file_, ToWide(model_.FileText()).c_str());
  ShowRows();
  const size_t total = model_.Total();
  SendMessageW(progress_, PBM_SETRANGE32, 0, static_cast<LPARAM>(std::max<size_t>(total, 1)));
  SendMessageW(progress_, PBM_SETPOS, static_cast<WPARAM>(std::min(model_.Finished(), total)), 0);
  SetWindowTextW(status_, ToWide(model_.Status()).c_str());
  ShowButtons();
}

void SweepWindowWin32::BringToFront() { BringFrameToFront(frame_); }

LRESULT CALLBACK SweepWindowWin32::FrameProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  SweepWindowWin32* self = BoundOwner<SweepWindowWin32>(hwnd, message, l);
  if (self == nullptr) return DefWindowProcW(hwnd, message, w, l);
  if (message == WM_NCCREATE) self->frame_ = hwnd;
  switch (message) {
    case WM_CREATE:
      self->CreateControls();
      return 0;
    case WM_SIZE:
      self->Layout(LOWORD(l), HIWORD(l));
      return 0;
    case WM_COMMAND:
      if (HIWORD(w) != BN_CLICKED) return 0;
      // A disabled button can still be "pressed" by a message: the model's
      // own rule decides, as the button's state shows it.
      if (LOWORD(w) == kChoose) {
        self->model_.ChooseFile();
      } else if (LOWORD(w) == kStart && self->model_.CanStart()) {
        self->model_.Start();
      } else if (LOWORD(w) == kStop && self->model_.Running()) {
        self->model_.Stop();
      } else if (LOWORD(w) == kSave && self->model_.CanSave()) {
        self->model_.Save();
      }
      return 0;
    case WM_CLOSE:
      // Only the user's close tells the program; the dialog's own end takes
      // this owned window with it silently.
      self->model_.Closed();
      DestroyWindow(hwnd);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      delete self;
      return DefWindowProcW(hwnd, message, w, l);
    default:
      return DefWindowProcW(hwnd, message, w, l);
  }
}

fw::SweepWindow* Win32Window::OpenSweepWindow(fw::SweepWindowModel& model) {
  return SweepWindowWin32::Create(hwnd_, model);
}

}  // namespace win32host
