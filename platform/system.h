// Small operating-system services: sleeping and socket start-up.
#pragma once

namespace platform {

// Blocks the calling thread.
void Sleep(unsigned milliseconds);
// Starts the socket layer (Windows Sockets); true elsewhere.
bool StartSockets();

}  // namespace platform
