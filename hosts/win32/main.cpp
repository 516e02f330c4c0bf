// QuorvexDemo.exe: the program in a native Windows dialog.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "app/quorvex_demo_app.h"
#include "framework/host.h"
#include "hosts/win32/win32_host.h"

int main() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  // Library threads may still post while the process ends; the host outlives
  // them instead of being destroyed under them.
  auto* host = new win32host::Win32Host;
  fw::SetCurrentHost(host);
  theApp.InitInstance();
  return 0;
}
