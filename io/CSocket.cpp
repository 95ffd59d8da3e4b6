#include "io/CSocket.h"

#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <string>

namespace {
// Splits "host" or "host:port" at the first ":". The port is the leading decimal
// digits after it (0 when there are none); -1 when it does not fit a TCP port.
void SplitTarget(const char* target, std::string& host, long& port)
{
    const char* colon = std::strchr(target, ':');
    if (!colon) {
        host = target;
        port = CSocket::DefaultPort;
        return;
    }
    host.assign(target, colon);
    port = 0;
    for (const char* p = colon + 1; *p >= '0' && *p <= '9'; p++) {
        port = port * 10 + (*p - '0');
        if (port > 65535) {
            port = -1;
            return;
        }
    }
}

bool Resolve(const std::string& host, in_addr& result)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found)
        return false;
    result = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
    return true;
}
}  // namespace

CSocket::CSocket(CApplication* app) : CIO(app) { className = "CSocket"; }

CSocket::~CSocket()
{
    LeaveRegistry();
    if (created)
        CloseSocket();
}

int CSocket::Destroy() { return CloseSocket(); }

int CSocket::OpenTarget(const void* target)
{
    std::string host;
    long port = 0;
    SplitTarget(static_cast<const char*>(target), host, port);
    in_addr resolved{};
    if (port < 0 || host.empty() || !Resolve(host, resolved))
        return 0;
    CloseSocket();
    handle = socket(AF_INET, SOCK_STREAM, 0);
    if (handle < 0)
        return 0;
    created = 1;
    address = sockaddr_in{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr = resolved;
    closed = 0;
    return connect(handle, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 ? 1 : 0;
}

int CSocket::Read(void* buffer, uint32_t size, uint32_t count)
{
    if (closed)
        return 0;
    return static_cast<int>(recv(handle, buffer, uint64_t(size) * count, 0));
}

int CSocket::Write(const void* buffer, uint32_t size, uint32_t count)
{
    if (closed)
        return 0;
    // Whole blocks: send may take part of one. MSG_NOSIGNAL: a peer that went away is
    // an error result, not the end of the process.
    auto bytes = static_cast<const char*>(buffer);
    uint64_t total = uint64_t(size) * count;
    uint64_t sent = 0;
    while (sent < total) {
        ssize_t n = send(handle, bytes + sent, total - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return sent ? static_cast<int>(sent) : static_cast<int>(n);
        sent += static_cast<uint64_t>(n);
    }
    return static_cast<int>(sent);
}

// Returns close's result when a connection was open, 0 otherwise.
int CSocket::CloseSocket()
{
    int result = 0;
    if (!closed || handle >= 0) {
        if (handle >= 0)
            result = close(handle);
        handle = -1;
    }
    closed = 1;
    created = 0;
    return result;
}
