// Windows Sockets start-up and clean-up for the whole process.
#include <winsock2.h>

#include "platform/Sockets.h"

namespace platform {

namespace {
bool failNextStart = false;
}

bool StartSockets(int major, int minor)
{
    if (failNextStart) {
        failNextStart = false;
        return false;
    }
    if (major < 0 || major > 255 || minor < 0 || minor > 255)
        return false;
    WSADATA data{};
    return WSAStartup(MAKEWORD(major, minor), &data) == 0;
}

void StopSockets() { WSACleanup(); }

void FailNextSocketStart() { failNextStart = true; }

}  // namespace platform
