#include "io/CFile.h"

#include <cstdio>

#include "core/CString.h"
#include "core/Variable.h"
#include "io/LineBuilder.h"
#include "io/PathText.h"

namespace {
// A byte from the stream's buffer without taking its lock: one thread reads a file.
inline int ReadByte(std::FILE* file)
{
#ifdef _WIN32
    return _getc_nolock(file);
#else
    return getc_unlocked(file);
#endif
}
}  // namespace

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

void CFile::LimitLines(uint32_t bytes)
{
    lineLimit = bytes;
    lineCut = false;
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
        int c = ReadByte(handle);
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
