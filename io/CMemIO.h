#pragma once

#include "io/CIO.h"

// A stream over a block of memory given by its address. Opened with Open it knows no
// size: the reader knows from the data how much to read. OpenBlock also records the
// block's size; reads and writes then stop at its end like a file's.
class CMemIO : public CIO {
public:
    explicit CMemIO(CApplication* app);
    ~CMemIO() override;

    int OpenBlock(void* address, uint32_t size);

    int Read(void* buffer, uint32_t size, uint32_t count) override;
    int Write(const void* buffer, uint32_t size, uint32_t count) override;
    int Seek(int32_t offset) override;

    char* position = nullptr;
    char* begin = nullptr;    // OpenBlock's block: begin and end, null when unbounded
    char* end = nullptr;
    uint8_t atEnd = 0;        // a bounded read hit the end

protected:
    int OpenTarget(const void* target) override;

private:
    uint32_t Transferable(uint32_t size, uint32_t count) const;
};
