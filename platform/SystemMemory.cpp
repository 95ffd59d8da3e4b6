// Available memory on Linux: the kernel's own estimate, MemAvailable in /proc/meminfo.
#include "platform/SystemMemory.h"

#include <cstdio>
#include <cstring>

namespace platform {
uint64_t AvailableMemory()
{
    std::FILE* info = std::fopen("/proc/meminfo", "r");
    if (!info)
        return 0;
    char line[256];
    unsigned long long kilobytes = 0;
    while (std::fgets(line, sizeof line, info))
        if (std::sscanf(line, "MemAvailable: %llu kB", &kilobytes) == 1)
            break;
    std::fclose(info);
    return uint64_t(kilobytes) * 1024;
}
}  // namespace platform
