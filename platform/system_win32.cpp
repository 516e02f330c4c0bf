// clang-format off
// winsock2.h must come before windows.h.
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include "platform/system.h"

namespace platform {

void Sleep(unsigned milliseconds) { ::Sleep(milliseconds); }

bool StartSockets() {
  // Nothing in the program uses a socket: the start-up only decides whether
  // the program runs. The layer stays started for the life of the process.
  WSADATA data;
  return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

}  // namespace platform
