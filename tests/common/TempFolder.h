#pragma once

#include <filesystem>
#include <string>

#ifdef _WIN32
#include <process.h>

#include <random>
#else
#include <unistd.h>

#include <cstdlib>
#endif

// A new folder of the test's own in the system's temporary folder ("/tmp" on Linux),
// named NAME-XXXXXX; empty when none can be made. Its path is written with "/", which
// Windows takes as well as "\".
inline std::string MakeTempFolder(const std::string& name)
{
#ifdef _WIN32
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error)
        return {};
    std::random_device seed;
    std::mt19937 pick(seed());
    for (int attempt = 0; attempt < 100; attempt++) {
        std::filesystem::path folder = base / (name + "-" + std::to_string(pick() % 1000000));
        if (std::filesystem::create_directory(folder, error)) {
            std::u8string text = folder.generic_u8string();
            return std::string(text.begin(), text.end());
        }
    }
    return {};
#else
    std::string pattern = "/tmp/" + name + "-XXXXXX";
    return mkdtemp(pattern.data()) ? pattern : std::string();
#endif
}

inline int ProcessId()
{
#ifdef _WIN32
    return _getpid();
#else
    return int(getpid());
#endif
}
