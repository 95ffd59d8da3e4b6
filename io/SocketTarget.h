#pragma once

#include <cstring>
#include <string>

// Splits "host" or "host:port" at the first ":". The port is the leading decimal
// digits after it (0 when there are none); -1 when it does not fit a TCP port.
inline void SplitSocketTarget(const char* target, int defaultPort, std::string& host, long& port)
{
    const char* colon = std::strchr(target, ':');
    if (!colon) {
        host = target;
        port = defaultPort;
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
