#pragma once

// Paths as the program's navigator writes them: UTF-8, joined with the system's
// separator, and the roots it offers ("/" on Linux, the drive roots on Windows).
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "tests/common/TempFolder.h"

#ifdef _WIN32
// Declared alone: windows.h would rename methods of the framework the tests call
// (GetWindowText, CreateWindow) through its macros.
extern "C" __declspec(dllimport) unsigned long __stdcall GetLogicalDrives(void);
#endif

namespace folder_paths {
#ifdef _WIN32
constexpr char Separator = '\\';
#else
constexpr char Separator = '/';
#endif

// A UTF-8 name as the file system takes it, on either system.
inline std::filesystem::path FsPath(const std::string& utf8) { return std::u8string(utf8.begin(), utf8.end()); }

inline std::string Utf8(const std::filesystem::path& path)
{
    std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

inline std::string Join(const std::string& folder, const std::string& name)
{
    return folder + Separator + name;
}

inline std::string CurrentFolder()
{
    std::error_code error;
    std::filesystem::path here = std::filesystem::current_path(error);
    return error ? std::string() : Utf8(here);
}

inline bool ChangeFolder(const std::string& utf8)
{
    std::error_code error;
    std::filesystem::current_path(FsPath(utf8), error);
    return !error;
}

// A new temporary folder of the test's own, written as the navigator writes it (the
// real path, with the system's separator); empty when none can be made.
inline std::string MakeNativeTempFolder(const std::string& name)
{
    std::string made = MakeTempFolder(name);
    if (made.empty())
        return {};
    std::error_code error;
    std::filesystem::path real = std::filesystem::canonical(FsPath(made), error);
    return error ? std::string() : Utf8(real.make_preferred());
}

// The roots the navigator lists after the directories, in its order.
inline std::vector<std::string> Roots()
{
#ifdef _WIN32
    std::vector<std::string> roots;
    unsigned long mask = GetLogicalDrives();
    for (int i = 0; i < 26; i++)
        if (mask & (1ul << i))
            roots.push_back(std::string(1, char('A' + i)) + ":\\");
    return roots;
#else
    return {"/"};
#endif
}

// The root a path lies under: "C:\" for "C:\Users\...", "/" on Linux.
inline std::string RootOf(const std::string& path)
{
#ifdef _WIN32
    return path.substr(0, 3);
#else
    (void)path;
    return "/";
#endif
}
}  // namespace folder_paths
