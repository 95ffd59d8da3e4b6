#include "io/CSocket.h"

#include "io/SocketHeaders.h"
#include "io/SocketTarget.h"

namespace {
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
    SplitSocketTarget(static_cast<const char*>(target), DefaultPort, host, port);
    in_addr resolved{};
    if (port < 0 || host.empty() || !Resolve(host, resolved))
        return 0;
    CloseSocket();
    if (!OpenHandle())
        return 0;
    created = 1;
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<uint16_t>(port));
    peer.sin_addr = resolved;
    address = CSocketAddress{};
    address.family = peer.sin_family;
    address.port = peer.sin_port;
    address.host = peer.sin_addr.s_addr;
    closed = 0;
    return ConnectHandle(&peer, sizeof peer);
}

// Whole blocks: send may take part of one. A peer that went away is an error result.
int CSocket::Write(const void* buffer, uint32_t size, uint32_t count)
{
    if (closed)
        return 0;
    auto bytes = static_cast<const char*>(buffer);
    uint64_t total = uint64_t(size) * count;
    uint64_t sent = 0;
    while (sent < total) {
        int n = SendPart(bytes + sent, total - sent);
        if (n <= 0)
            return sent ? static_cast<int>(sent) : n;
        sent += static_cast<uint64_t>(n);
    }
    return static_cast<int>(sent);
}

// Returns close's result when a connection was open, 0 otherwise.
int CSocket::CloseSocket()
{
    int result = 0;
    if (handle != -1)
        result = ReleaseHandle();
    handle = -1;
    closed = 1;
    created = 0;
    return result;
}
