// The modeless chart window on Win32: the program's picture painted with GDI
// in a child window of its own, under the span list, the fast switch and the
// save button.
#pragma once

#include <windows.h>

#include "platform/win32_undef.h"
// clang-format off
#include "framework/chart_window.h"
// clang-format on

namespace win32host {

// Paints a chart picture onto a device context at its origin.
void PaintChartPicture(HDC dc, const fw::ChartPicture& picture, int width, int height);

class ChartWindowWin32 final : public fw::ChartWindow {
 public:
  // Creates the window, owned by `owner`, beside it; nullptr on failure.
  static ChartWindowWin32* Create(HWND owner, fw::ChartWindowModel& model);

  void ShowNewData() override;
  void BringToFront() override;

 private:
  explicit ChartWindowWin32(fw::ChartWindowModel& model) : model_(model) {}
  static LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM w, LPARAM l);
  static LRESULT CALLBACK ChartProc(HWND hwnd, UINT message, WPARAM w, LPARAM l);
  void CreateControls();
  void Layout(int width, int height);

  fw::ChartWindowModel& model_;
  HWND frame_ = nullptr, spans_ = nullptr, fast_ = nullptr, save_ = nullptr, summary_ = nullptr,
       chart_ = nullptr;
};

}  // namespace win32host
