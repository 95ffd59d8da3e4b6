#include "platform/FileNames.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>

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

// Only an absolute XDG_STATE_HOME counts; a relative one is to be ignored.
std::string StateFolder()
{
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/')
        return std::string(state) + "/ajustor";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return std::string(home) + "/.local/state/ajustor";
    return {};
}

unsigned long ProcessId() { return static_cast<unsigned long>(getpid()); }

}  // namespace platform
