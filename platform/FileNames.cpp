#include "platform/FileNames.h"

#include <unistd.h>

#include <climits>

namespace platform {

std::FILE* OpenFile(const char* path, const char* mode) { return path ? std::fopen(path, mode) : nullptr; }

std::string ExecutableFolder()
{
    char self[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0)
        return {};
    std::string exe(self, size_t(n));
    size_t slash = exe.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? std::string("/") : exe.substr(0, slash);
}

bool IsReadable(const char* path) { return path && access(path, R_OK) == 0; }

}  // namespace platform
