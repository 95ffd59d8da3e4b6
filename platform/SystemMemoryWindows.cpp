// Available memory on Windows: the physical memory not in use.
#include <windows.h>

#include "platform/SystemMemory.h"

namespace platform {
uint64_t AvailableMemory()
{
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    return GlobalMemoryStatusEx(&status) ? uint64_t(status.ullAvailPhys) : 0;
}
}  // namespace platform
