// The parts of CFile that ask the system about files: POSIX.
#include "io/CFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

int CFile::OpenStandardInput()
{
    CloseFile();
    int fd = dup(STDIN_FILENO);
    if (fd < 0)
        return 0;
    handle = fdopen(fd, "rb");
    if (!handle) {
        close(fd);
        return 0;
    }
    return Opened();
}

int64_t CFile::Size()
{
    struct stat info {};
    if (!created || fstat(fileno(handle), &info) != 0 || !S_ISREG(info.st_mode))
        return -1;
    return int64_t(info.st_size);
}

int CFile::Commit()
{
    if (!created)
        return 0;
    bool ok = std::fflush(handle) == 0 && !std::ferror(handle);
    // Devices and pipes cannot be synced: for them the flushed bytes are delivered.
    ok = ok && (fsync(fileno(handle)) == 0 || errno == EINVAL || errno == EOPNOTSUPP);
    return CloseFile() == 0 && ok ? 1 : 0;
}

int CFile::OpenMode(const char* path, const char* mode)
{
    CloseFile();
    if (!path)
        return 0;
    handle = std::fopen(path, mode);
    if (!handle)
        return 0;
    // A folder opens for reading here, but it is no file.
    struct stat info {};
    if (fstat(fileno(handle), &info) != 0 || S_ISDIR(info.st_mode)) {
        std::fclose(handle);
        handle = nullptr;
        errno = EISDIR;
        return 0;
    }
    return Opened();
}
