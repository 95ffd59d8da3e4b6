#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/CApplication.h"

// The one application of a fuzzing process.
inline CApplication* FuzzApplication()
{
    static CApplication* app = new CApplication();
    return app;
}

// The input as a file that CFile can open by name: a memory file rewritten for every
// input, so the fuzzer touches no disk.
inline std::string FuzzFile(const uint8_t* data, size_t size)
{
    static int fd = memfd_create("fuzz-input", 0);
    if (fd < 0 || ftruncate(fd, 0) != 0 || (size && pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)))
        std::abort();
    return "/proc/self/fd/" + std::to_string(fd);
}
