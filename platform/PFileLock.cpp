#include "platform/PFileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

// flock belongs to the open file, not the process: the system drops it with the last
// descriptor, at exit or at a kill alike.
bool PFileLock::TryLock(const std::string& path)
{
    Unlock();
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return false;
    }
    handle = fd;
    return true;
}

void PFileLock::Unlock()
{
    if (handle == NoHandle)
        return;
    close(int(handle));
    handle = NoHandle;
}

}  // namespace platform
