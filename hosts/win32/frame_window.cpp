#include "hosts/win32/frame_window.h"

namespace win32host {

void RegisterWindowClass(const wchar_t* name, WNDPROC proc, HBRUSH background) {
  WNDCLASSW wc{};
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
  wc.lpfnWndProc = proc;
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  RegisterClassW(&wc);
}

HBRUSH FaceBrush() { return reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1); }

void BringFrameToFront(HWND frame) {
  if (IsIconic(frame)) ShowWindow(frame, SW_RESTORE);
  SetForegroundWindow(frame);
}

}  // namespace win32host
