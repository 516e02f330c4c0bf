// The window contract on the native Win32 window, in a real dialog built by
// the dialog manager.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "tests/support/window_contract.h"

#include "hosts/win32/win32_host.h"

namespace {

struct Win32Runner {
  static void Run(fw::Dialog& dialog) {
    static win32host::Win32Host host;
    host.RunModal(dialog);
  }
};

}  // namespace

namespace contract {
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, WindowContract, ::testing::Types<Win32Runner>);
}  // namespace contract
