#pragma once

#include <cstdint>

class CIO;

// How an image reader sees its stream: byte reads that say how much arrived, little-
// endian numbers, and the number of bytes left when the stream knows it (a file, a
// memory block opened with its size). Readers check every size against it before
// allocating, so a header cannot make them allocate more than the stream could fill.
class CImageInput {
public:
    explicit CImageInput(CIO* stream);

    bool IsOpen() const;
    // True when `bytes` more bytes may be in the stream: always for a stream of
    // unknown length (built-in pictures in memory, which are trusted).
    bool Holds(uint64_t bytes) const;
    uint32_t Read(void* buffer, uint32_t bytes);
    bool ReadU16(uint16_t& value);
    bool ReadU32(uint32_t& value);
    bool Skip(uint64_t bytes);

private:
    int64_t Remaining() const;  // -1 when unknown

    CIO* stream;
};

// Largest images any reader accepts: 32768 pixels a side, 16 M pixels in all.
bool ImageSizeAllowed(uint64_t width, uint64_t height);
