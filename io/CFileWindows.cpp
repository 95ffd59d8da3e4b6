// The parts of CFile that ask the system about files: Windows. Names are UTF-8 in the
// program and wide at the system's calls.
#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "io/CFile.h"
#include "io/WindowsFiles.h"
#include "platform/FileNames.h"

namespace {
bool IsFolder(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A stream on a file that must not exist yet. The C library's "x" mode is not in every
// Windows C library, so the file is made with CreateFileW and CREATE_NEW.
std::FILE* CreateNew(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        SetErrnoFromLastError();
        return nullptr;
    }
    int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_BINARY);
    if (fd < 0) {
        CloseHandle(file);
        return nullptr;
    }
    std::FILE* stream = _fdopen(fd, "wb");
    if (!stream)
        _close(fd);
    return stream;
}
}  // namespace

int CFile::OpenStandardInput()
{
    CloseFile();
    int fd = _dup(_fileno(stdin));
    if (fd < 0)
        return 0;
    _setmode(fd, _O_BINARY);  // bytes as they come: no carriage returns dropped
    handle = _fdopen(fd, "rb");
    if (!handle) {
        _close(fd);
        return 0;
    }
    return Opened();
}

// FlushFileBuffers is the system's fsync. Consoles, pipes and devices have nothing
// to force: for them the flushed bytes are delivered.
int64_t CFile::Size()
{
    if (!created)
        return -1;
    HANDLE file = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(handle)));
    LARGE_INTEGER size{};
    if (file == INVALID_HANDLE_VALUE || GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &size))
        return -1;
    return int64_t(size.QuadPart);
}

int CFile::Commit()
{
    if (!created)
        return 0;
    bool ok = std::fflush(handle) == 0 && !std::ferror(handle);
    if (ok) {
        auto file = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(handle)));
        if (file == INVALID_HANDLE_VALUE) {
            ok = false;
        } else if (GetFileType(file) == FILE_TYPE_DISK && !FlushFileBuffers(file)) {
            SetErrnoFromLastError();
            ok = false;
        }
    }
    return CloseFile() == 0 && ok ? 1 : 0;
}

int CFile::OpenMode(const char* path, const char* mode)
{
    CloseFile();
    if (!path || !*path)
        return 0;
    std::wstring wide = platform::WideFromUtf8(path);
    if (std::strchr(mode, 'x')) {
        handle = CreateNew(wide);
    } else {
        std::wstring wideMode(mode, mode + std::strlen(mode));
        handle = _wfopen(wide.c_str(), wideMode.c_str());
    }
    if (!handle) {
        // A folder cannot be opened as a file here: say so as Linux does.
        if (IsFolder(wide))
            errno = EISDIR;
        return 0;
    }
    return Opened();
}
