#pragma once

namespace platform {

// Start-up and clean-up of the socket library: WSAStartup and WSACleanup on Windows.
// POSIX sockets need neither, but the failure path of the start-up is kept so that
// callers handle it.
bool StartSockets(int major, int minor);
void StopSockets();

// Makes the next StartSockets fail, so that the failure path can be exercised.
void FailNextSocketStart();

}  // namespace platform
