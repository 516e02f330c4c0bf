#include <chrono>
#include <csignal>
#include <thread>

#include "platform/system.h"

namespace platform {

void Sleep(unsigned milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

bool StartSockets() {
  // There are no Windows Sockets to start here, but the pipe and socket layer
  // needs one setting: a write to a pipe whose reader has gone (a player that
  // quit while a capture runs into its named pipe) must fail with EPIPE, as
  // WriteFile fails on Windows, instead of ending the whole program.
  std::signal(SIGPIPE, SIG_IGN);
  return true;
}

}  // namespace platform
