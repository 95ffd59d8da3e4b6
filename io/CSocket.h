#pragma once

#include <netinet/in.h>

#include "io/CIO.h"

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
    int handle = -1;
    sockaddr_in address{};

protected:
    // 1 when connected; 0 when the target is malformed, the name unknown or the
    // connection refused. A connected stream is closed before connecting again.
    int OpenTarget(const void* target) override;

private:
    int CloseSocket();
};
