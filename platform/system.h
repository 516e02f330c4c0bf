// Small operating-system services: sleeping and socket start-up.
#pragma once

namespace platform {

// Blocks the calling thread.
void Sleep(unsigned milliseconds);
// Starts the socket layer (Windows Sockets); elsewhere makes a write to a pipe
// whose reader has gone, or past the file size limit, fail instead of ending
// the program, and returns true.
bool StartSockets();

}  // namespace platform
