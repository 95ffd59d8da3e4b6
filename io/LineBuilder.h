#pragma once

#include <cstdint>

#include "core/CString.h"

// Gathers the bytes of one line in a local block and hands them to the string in
// chunks: the line readers see one byte at a time, and a CString append per byte
// would cost more than the read. Tabs become five spaces. The string is emptied on
// construction and receives the rest of the text on destruction.
class LineBuilder {
public:
    explicit LineBuilder(CString* target) : line(target) { line->DeleteRange(0, line->GetLength()); }
    ~LineBuilder() { Flush(); }
    LineBuilder(const LineBuilder&) = delete;
    LineBuilder& operator=(const LineBuilder&) = delete;

    void Add(char byte)
    {
        if (byte == '\t') {
            for (int i = 0; i < 5; i++)
                Put(' ');
            return;
        }
        Put(byte);
    }

    void Flush()
    {
        if (used)
            line->AppendText(chunk, used);
        used = 0;
    }

private:
    void Put(char byte)
    {
        if (used == sizeof chunk)
            Flush();
        chunk[used++] = byte;
    }

    CString* line;
    uint32_t used = 0;
    char chunk[512];
};
