#include "io/CFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/CString.h"
#include "core/Variable.h"
#include "io/LineBuilder.h"
#include "io/PathText.h"

CFile::CFile(CApplication* app) : CIO(app) { className = "CFile"; }

CFile::~CFile()
{
    LeaveRegistry();
    if (created)
        CloseFile();
}

int CFile::Destroy() { return Close(); }

int CFile::Close()
{
    CloseFile();
    return 0;
}

int CFile::OpenTarget(const void* target)
{
    auto path = static_cast<const char*>(target);
    if (OpenMode(path, "r+b"))
        return 1;
    return OpenMode(path, "w+b");
}

int CFile::OpenRead(const char* path) { return OpenMode(path, "rb"); }

int CFile::OpenRead(CString* path)
{
    Variable hold;
    hold = path;
    return OpenMode(PathText(path), "rb");
}

int CFile::OpenWrite(CString* path)
{
    Variable hold;
    hold = path;
    return OpenMode(PathText(path), "wb");
}

int CFile::OpenWrite(const char* path) { return OpenMode(path, "wb"); }

int CFile::OpenNew(const char* path) { return OpenMode(path, "wbx"); }

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

void CFile::LimitLines(uint32_t bytes)
{
    lineLimit = bytes;
    lineCut = false;
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

// After a failed read the stream reports the end, as after the last byte: a reader
// that waits for -1 must not spin on an error.
int CFile::Read(void* target, uint32_t size, uint32_t count)
{
    if (!created || std::feof(handle) || std::ferror(handle))
        return -1;
    Turn(Reading);
    return static_cast<int>(std::fread(target, size, count, handle));
}

int CFile::Write(const void* source, uint32_t size, uint32_t count)
{
    if (!created)
        return 0;
    Turn(Writing);
    return static_cast<int>(std::fwrite(source, size, count, handle));
}

int CFile::Seek(int32_t offset)
{
    if (created) {
        std::fseek(handle, offset, SEEK_CUR);
        lastTransfer = None;
    }
    return offset;
}

// The shared line reading, done on the stdio buffer directly: the same lines and the
// same end-of-file state, without a virtual call and a locked fread per byte.
int CFile::ReadLineInto(CString* line)
{
    LineBuilder builder(line);
    if (!created || std::feof(handle) || std::ferror(handle))
        return 0;
    Turn(Reading);
    for (uint64_t read = 0;; read++) {
        int c = getc_unlocked(handle);
        if (c == EOF)
            return 0;
        if (c == '\n')
            return 1;
        if (lineLimit && read == lineLimit) {
            lineCut = true;
            return 0;
        }
        builder.Add(static_cast<char>(c));
    }
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

int CFile::Opened()
{
    std::setvbuf(handle, buffer, _IOFBF, sizeof buffer);
    lastTransfer = None;
    created = 1;
    return 1;
}

// Returns fclose's result, 0 when nothing was open.
int CFile::CloseFile()
{
    if (!created)
        return 0;
    int result = std::fclose(handle);
    handle = nullptr;
    created = 0;
    return result;
}

void CFile::Turn(Direction next)
{
    if (lastTransfer != None && lastTransfer != next)
        std::fseek(handle, 0, SEEK_CUR);
    lastTransfer = next;
}
