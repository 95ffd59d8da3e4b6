// The parts of CSocket that differ between systems: Windows Sockets (the application
// base starts the library with WSAStartup).
#include <climits>

#include "io/CSocket.h"
#include "io/SocketHeaders.h"

namespace {
SOCKET SocketOf(intptr_t handle) { return static_cast<SOCKET>(handle); }

// recv and send take an int length: larger blocks go in parts.
int Part(uint64_t bytes) { return bytes > uint64_t(INT_MAX) ? INT_MAX : static_cast<int>(bytes); }
}  // namespace

int CSocket::Read(void* buffer, uint32_t size, uint32_t count)
{
    if (closed)
        return 0;
    return recv(SocketOf(handle), static_cast<char*>(buffer), Part(uint64_t(size) * count), 0);
}

bool CSocket::OpenHandle()
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        return false;
    handle = static_cast<intptr_t>(s);
    return true;
}

int CSocket::ConnectHandle(const void* peer, uint32_t size)
{
    return connect(SocketOf(handle), static_cast<const sockaddr*>(peer), int(size)) == 0 ? 1 : 0;
}

// Windows raises no signal for a peer that went away.
int CSocket::SendPart(const char* bytes, uint64_t size) { return send(SocketOf(handle), bytes, Part(size), 0); }

int CSocket::ReleaseHandle() { return closesocket(SocketOf(handle)); }
