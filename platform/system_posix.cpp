#include <chrono>
#include <csignal>
#include <thread>

#include "platform/system.h"

namespace platform {

void Sleep(unsigned milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

bool StartSockets() {
  // There are no Windows Sockets to start here, but files need two settings:
  // a write to a pipe whose reader has gone (a player that quit while a
  // capture runs into its named pipe) must fail with EPIPE, and one past the
  // largest file the user may write with EFBIG, as WriteFile fails on Windows
  // on a full disk, instead of ending the whole program.
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
  return true;
}

}  // namespace platform
