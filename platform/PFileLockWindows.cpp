#include <windows.h>

#include "platform/FileNames.h"
#include "platform/PFileLock.h"

namespace platform {

// An open shared with nobody is the lock; the system closes it when the process ends.
bool PFileLock::TryLock(const std::string& path)
{
    Unlock();
    HANDLE file = CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    handle = reinterpret_cast<intptr_t>(file);
    return true;
}

void PFileLock::Unlock()
{
    if (handle == NoHandle)
        return;
    CloseHandle(reinterpret_cast<HANDLE>(handle));
    handle = NoHandle;
}

}  // namespace platform
