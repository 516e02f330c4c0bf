// The modeless sweep window on Win32: the file chooser, Start and Stop, a
// progress bar, the table of results as a report list view, "Save CSV..." and
// a status line, each showing what the program's model says.
#pragma once

#include <windows.h>

#include "platform/win32_undef.h"
// clang-format off
#include "framework/sweep_window.h"
// clang-format on

namespace win32host {

class SweepWindowWin32 final : public fw::SweepWindow {
 public:
  // The ids of the frame's controls, which a test finds them by.
  enum : int {
    kChoose = 101,
    kStart = 102,
    kStop = 103,
    kSave = 104,
    kTable = 105,
    kProgress = 106,
    kFile = 107,
    kStatus = 108
  };

  // Creates the window, owned by `owner`, beside it; nullptr on failure.
  static SweepWindowWin32* Create(HWND owner, fw::SweepWindowModel& model);

  void ShowNewData() override;
  void BringToFront() override;

  // The top-level window.
  HWND Frame() const { return frame_; }

 private:
  explicit SweepWindowWin32(fw::SweepWindowModel& model) : model_(model) {}
  static LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM w, LPARAM l);
  void CreateControls();
  void Layout(int width, int height);
  void ShowRows();
  void ShowButtons();

  fw::SweepWindowModel& model_;
  HWND frame_ = nullptr, choose_ = nullptr, file_ = nullptr, start_ = nullptr, stop_ = nullptr,
       progress_ = nullptr, save_ = nullptr, table_ = nullptr, status_ = nullptr;
};

}  // namespace win32host
