// The parts of CSocket that differ between systems: POSIX.
#include <climits>

#include "io/CSocket.h"
#include "io/SocketHeaders.h"

namespace {
// recv and send report their count as an int here: larger blocks go in parts.
size_t Part(uint64_t bytes) { return bytes > uint64_t(INT_MAX) ? size_t(INT_MAX) : size_t(bytes); }
}  // namespace

int CSocket::Read(void* buffer, uint32_t size, uint32_t count)
{
    if (closed)
        return 0;
    return static_cast<int>(recv(int(handle), buffer, Part(uint64_t(size) * count), 0));
}

bool CSocket::OpenHandle()
{
    handle = socket(AF_INET, SOCK_STREAM, 0);
    return handle >= 0;
}

int CSocket::ConnectHandle(const void* peer, uint32_t size)
{
    return connect(int(handle), static_cast<const sockaddr*>(peer), size) == 0 ? 1 : 0;
}

// MSG_NOSIGNAL: a peer that went away is an error result, not the end of the process.
int CSocket::SendPart(const char* bytes, uint64_t size)
{
    return static_cast<int>(send(int(handle), bytes, Part(size), MSG_NOSIGNAL));
}

int CSocket::ReleaseHandle() { return close(int(handle)); }
