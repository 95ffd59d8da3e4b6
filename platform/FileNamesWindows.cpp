#include "platform/FileNames.h"

#include <windows.h>

namespace platform {

std::wstring WideFromUtf8(const std::string& text)
{
    if (text.empty())
        return {};
    int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    if (size <= 0)
        return std::wstring(1, L'\xFFFD');
    std::wstring wide(size_t(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), wide.data(), size);
    return wide;
}

std::string Utf8FromWide(const std::wstring& text)
{
    if (text.empty())
        return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return {};
    std::string utf8(size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), utf8.data(), size, nullptr, nullptr);
    return utf8;
}

std::FILE* OpenFile(const char* path, const char* mode)
{
    if (!path || !mode)
        return nullptr;
    std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(WideFromUtf8(path).c_str(), wideMode.c_str());
}

std::string ExecutableFolder()
{
    std::wstring exe(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, exe.data(), DWORD(exe.size()));
        if (n == 0)
            return {};
        if (n < exe.size()) {
            exe.resize(n);
            break;
        }
        if (exe.size() >= 32768)  // the longest path Windows has
            return {};
        exe.resize(exe.size() * 2);
    }
    size_t slash = exe.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return {};
    // "C:\ajustor.exe" lies in the root, which keeps its backslash.
    return Utf8FromWide(exe.substr(0, slash == 2 && exe[1] == L':' ? 3 : slash));
}

bool IsReadable(const char* path)
{
    if (!path)
        return false;
    std::wstring wide = WideFromUtf8(path);
    DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

std::string StateFolder()
{
    const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
    if (!local || !*local)
        return {};
    return Utf8FromWide(local) + "\\Ajustor";
}

unsigned long ProcessId() { return static_cast<unsigned long>(GetCurrentProcessId()); }

}  // namespace platform
