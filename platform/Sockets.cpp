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
    return major >= 1 && minor >= 0;
}

void StopSockets() {}

void FailNextSocketStart() { failNextStart = true; }

}  // namespace platform
