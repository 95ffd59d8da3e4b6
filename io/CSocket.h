#pragma once

#include <cstdint>

#include "io/CIO.h"

// An IPv4 socket address in the system's 16-byte layout (sockaddr_in), without the
// system's header: family 2, port and address in network byte order, 8 bytes of zero.
struct CSocketAddress {
    uint16_t family = 0;
    uint16_t port = 0;
    uint32_t host = 0;
    uint8_t zero[8] = {};
};
static_assert(sizeof(CSocketAddress) == 16);

// A TCP connection as a stream, so ReadLine, WriteLine and WriteText work over the
// network as over a file. Open takes "host" (port 8080) or "host:port".
class CSocket : public CIO {
public:
    static constexpr int DefaultPort = 8080;

    explicit CSocket(CApplication* app);
    ~CSocket() override;

    int Destroy() override;

    // Byte counts: what recv delivered (0 when the peer closed, -1 on error) and what
    // send accepted. Both return 0 and touch nothing once the stream is closed.
    int Read(void* buffer, uint32_t size, uint32_t count) override;
    int Write(const void* buffer, uint32_t size, uint32_t count) override;

    int closed = 1;
    intptr_t handle = -1;  // a descriptor, or a Windows socket; -1 when there is none
    CSocketAddress address{};

protected:
    // 1 when connected; 0 when the target is malformed, the name unknown or the
    // connection refused. A connected stream is closed before connecting again.
    int OpenTarget(const void* target) override;

private:
    int CloseSocket();

    // The system's part, written once per system: a new TCP socket in `handle`, its
    // connection to a sockaddr_in, send's result for the next part of a block (at
    // most INT_MAX bytes at once) and close's result.
    bool OpenHandle();
    int ConnectHandle(const void* peer, uint32_t size);
    int SendPart(const char* bytes, uint64_t size);
    int ReleaseHandle();
};
