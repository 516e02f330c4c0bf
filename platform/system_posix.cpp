#include <chrono>
#include <thread>

#include "platform/system.h"

namespace platform {

void Sleep(unsigned milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

bool StartSockets() { return true; }

}  // namespace platform
