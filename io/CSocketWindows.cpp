// CSocket on Windows Sockets; the application base starts the library (WSAStartup).
#include <winsock2.h>
#include <ws2tcpip.h>
#undef GetClassName  // windows.h renames it; the framework's objects have a method of this name

#include <climits>
#include <string>

#include "io/CSocket.h"
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

SOCKET SocketOf(intptr_t handle) { return static_cast<SOCKET>(handle); }

// recv and send take an int length: larger blocks go in parts.
int Part(uint64_t bytes) { return bytes > uint64_t(INT_MAX) ? INT_MAX : static_cast<int>(bytes); }
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
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        return 0;
    handle = static_cast<intptr_t>(s);
    created = 1;
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<u_short>(port));
    peer.sin_addr = resolved;
    address = CSocketAddress{};
    address.family = peer.sin_family;
    address.port = peer.sin_port;
    address.host = peer.sin_addr.s_addr;
    closed = 0;
    return connect(s, reinterpret_cast<sockaddr*>(&peer), sizeof peer) == 0 ? 1 : 0;
}

int CSocket::Read(void* buffer, uint32_t size, uint32_t count)
{
    if (closed)
        return 0;
    return recv(SocketOf(handle), static_cast<char*>(buffer), Part(uint64_t(size) * count), 0);
}

// Whole blocks: send may take part of one. A peer that went away is an error result;
// Windows raises no signal for it.
int CSocket::Write(const void* buffer, uint32_t size, uint32_t count)
{
    if (closed)
        return 0;
    auto bytes = static_cast<const char*>(buffer);
    uint64_t total = uint64_t(size) * count;
    uint64_t sent = 0;
    while (sent < total) {
        int n = send(SocketOf(handle), bytes + sent, Part(total - sent), 0);
        if (n <= 0)
            return sent ? static_cast<int>(sent) : n;
        sent += static_cast<uint64_t>(n);
    }
    return static_cast<int>(sent);
}

// Returns closesocket's result when a connection was open, 0 otherwise.
int CSocket::CloseSocket()
{
    int result = 0;
    if (handle != -1)
        result = closesocket(SocketOf(handle));
    handle = -1;
    closed = 1;
    created = 0;
    return result;
}
