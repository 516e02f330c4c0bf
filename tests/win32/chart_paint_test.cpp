// The signal chart as the native window paints it: the same pixels at the
// same places as the wx window's.
#include <gtest/gtest.h>
#include <windows.h>

#include "hosts/win32/chart_window_win32.h"
#include "tests/support/stream_chart_case.h"

namespace {

// Guards the stream pane painted differently on Windows than it is laid out.
TEST(Win32ChartPaint, StreamLineAndErrorTicksUnderTheSignal) {
  using namespace stream_chart_case;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = kWidth;
  bi.bmiHeader.biHeight = -kHeight;  // top-down rows
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(bmp, nullptr);
  HGDIOBJ old = SelectObject(dc, bmp);
  win32host::PaintChartPicture(dc, SignalChart(Samples(), 0, kEndMs, kWidth, kHeight), kWidth,
                               kHeight);
  GdiFlush();
  const auto* px = static_cast<const uint32_t*>(bits);
  const auto shows = [&](const Mark& m) {
    // A two-pixel pen may straddle the row the mapping gives.
    for (int dy : {0, -1, 1}) {
      const uint32_t v = px[(m.y + dy) * kWidth + m.x];
      if (((v >> 16) & 0xFF) == m.colour.r && ((v >> 8) & 0xFF) == m.colour.g &&
          (v & 0xFF) == m.colour.b) {
        return true;
      }
    }
    return false;
  };
  for (const Mark& m : Marks()) EXPECT_EQ(shows(m), m.painted) << m.x << "," << m.y;
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
}

}  // namespace
