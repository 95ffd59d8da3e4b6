#pragma once

#include <cstdio>

#include "io/CIO.h"

// A file on disk through a fully buffered stdio stream with a 2048-byte buffer of its
// own, so byte-at-a-time reads and small writes cost no system call each. Reads,
// writes and seeks on a closed file fail quietly.
class CFile : public CIO {
public:
    static constexpr int BufferSize = 2048;

    explicit CFile(CApplication* app);
    ~CFile() override;

    int Destroy() override;

    int OpenRead(const char* path);
    int OpenRead(CString* path);
    int OpenWrite(CString* path);
    int OpenWrite(const char* path);
    // Creates a file that must not exist yet (for temporary files); 0 when it exists.
    int OpenNew(const char* path);
    // Reads the process's standard input through a descriptor of its own.
    int OpenStandardInput();
    int Close();
    // The bytes of the open file; -1 when closed or when the system cannot tell (a
    // pipe, a device).
    int64_t Size();
    // Flushes, forces the bytes to the disk and closes: 1 only when every step and
    // every earlier write succeeded. The file is closed in any case.
    int Commit();

    int Read(void* buffer, uint32_t size, uint32_t count) override;
    int Write(const void* buffer, uint32_t size, uint32_t count) override;
    int Seek(int32_t offset) override;
    int ReadLineInto(CString* line) override;

    // A bound on the bytes of a line for readers of untrusted input (0: none). A line
    // that reaches it ends the reading as the end of the file would, and LineWasCut
    // says so.
    void LimitLines(uint32_t bytes);
    bool LineWasCut() const { return lineCut; }

    std::FILE* handle = nullptr;
    char buffer[BufferSize];
    // Direction of the last transfer: a stream opened for update needs a seek between
    // reading and writing, which callers of Read and Write should not have to know.
    enum Direction : uint8_t { None, Reading, Writing };
    Direction lastTransfer = None;

protected:
    int OpenTarget(const void* target) override;

private:
    int OpenMode(const char* path, const char* mode);
    int Opened();
    int CloseFile();
    void Turn(Direction next);

    uint32_t lineLimit = 0;
    bool lineCut = false;
};
