#pragma once

#include <cstdint>
#include <string>

namespace platform {

// An exclusive lock on a file, held until Unlock or until the process ends, however it
// ends: a process that finds it free knows its holder is gone. Two locks in one
// process on the same file exclude each other too.
class PFileLock {
public:
    PFileLock() = default;
    PFileLock(const PFileLock&) = delete;
    PFileLock& operator=(const PFileLock&) = delete;
    ~PFileLock() { Unlock(); }

    // Takes the lock of `path` (UTF-8; the file is made when missing) without waiting:
    // false when someone holds it or the file cannot be made.
    bool TryLock(const std::string& path);
    void Unlock();
    bool Held() const { return handle != NoHandle; }

private:
    static constexpr intptr_t NoHandle = -1;
    intptr_t handle = NoHandle;
};

}  // namespace platform
