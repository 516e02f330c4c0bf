#include "framework/host.h"

#include <stdexcept>

namespace fw {

namespace {
Host* g_host = nullptr;
}

Host& CurrentHost() {
  if (g_host == nullptr) throw std::logic_error("no host installed");
  return *g_host;
}

void SetCurrentHost(Host* host) { g_host = host; }

}  // namespace fw
