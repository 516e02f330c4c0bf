// What the program's own windows beside the dialog (the chart, the sweep)
// share: their window classes, binding the object a frame was created for,
// and coming to the front.
#pragma once

#include <windows.h>

namespace win32host {

// Registers a window class of the program's (the arrow cursor, `background`,
// which may be none); a second registration of the same name is refused by
// the system, harmlessly.
void RegisterWindowClass(const wchar_t* name, WNDPROC proc, HBRUSH background);

// The dialog's face colour as a class background.
HBRUSH FaceBrush();

// Restores a minimised frame and brings it to the front.
void BringFrameToFront(HWND frame);

// The object a window was created for (CreateWindowEx's last parameter),
// kept from WM_NCCREATE on; null before that and once it was cleared.
template <class Owner>
Owner* BoundOwner(HWND hwnd, UINT message, LPARAM l) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(
        hwnd, GWLP_USERDATA,
        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams));
  }
  return reinterpret_cast<Owner*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

}  // namespace win32host
