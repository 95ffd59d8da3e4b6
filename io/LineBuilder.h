#pragma once

#include <cstdint>
#include <cstring>

#include "core/CApplication.h"
#include "core/CString.h"

// Gathers the bytes of one line and hands them to the string in one append at the end:
// the line readers see one byte at a time, and an append per byte or per small piece
// would copy a long line over and over. Short lines stay in a local block; a longer
// one moves to a heap block that doubles, so reading a line costs time in proportion
// to its length. Tabs become five spaces. The string is emptied on construction and
// receives the text on destruction.
class LineBuilder {
public:
    explicit LineBuilder(CString* target) : line(target) { line->DeleteRange(0, line->GetLength()); }
    ~LineBuilder()
    {
        if (used)
            line->AppendText(bytes, used);
        if (bytes != local)
            CApplication::Free(bytes);
    }
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

private:
    // A string holds at most this many bytes, with room for its own growth.
    static constexpr uint32_t LongestLine = UINT32_MAX - 64;

    void Put(char byte)
    {
        if (used == room && !Grow())
            return;
        bytes[used++] = byte;
    }

    bool Grow()
    {
        if (room >= LongestLine)
            return false;
        uint32_t larger = room > LongestLine / 2 ? LongestLine : room * 2;
        auto* block = static_cast<char*>(CApplication::AllocateBlock(larger));
        std::memcpy(block, bytes, used);
        if (bytes != local)
            CApplication::Free(bytes);
        bytes = block;
        room = larger;
        return true;
    }

    CString* line;
    char local[512];
    char* bytes = local;
    uint32_t room = sizeof local;
    uint32_t used = 0;
};
