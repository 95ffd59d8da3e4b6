#include "io/CMemIO.h"

#include <cstring>

CMemIO::CMemIO(CApplication* app) : CIO(app) { className = "CMemIO"; }

CMemIO::~CMemIO() { LeaveRegistry(); }

int CMemIO::OpenTarget(const void* target)
{
    // The block belongs to the caller, who may write through the stream.
    position = static_cast<char*>(const_cast<void*>(target));
    begin = end = nullptr;
    atEnd = 0;
    created = 1;
    return 1;
}

int CMemIO::OpenBlock(void* address, uint32_t size)
{
    if (!address)
        return 0;
    OpenTarget(address);
    begin = position;
    end = position + size;
    return 1;
}

int CMemIO::Read(void* buffer, uint32_t size, uint32_t count)
{
    if (!position)
        return -1;
    if (end && atEnd)
        return -1;
    uint32_t items = Transferable(size, count);
    if (end && items < count)
        atEnd = 1;
    uint64_t bytes = uint64_t(items) * size;
    if (bytes)
        std::memcpy(buffer, position, bytes);
    position += bytes;
    return static_cast<int>(items);
}

int CMemIO::Write(const void* buffer, uint32_t size, uint32_t count)
{
    if (!position)
        return 0;
    uint32_t items = Transferable(size, count);
    uint64_t bytes = uint64_t(items) * size;
    if (bytes)
        std::memcpy(position, buffer, bytes);
    position += bytes;
    return static_cast<int>(items);
}

int CMemIO::Seek(int32_t offset)
{
    if (!position)
        return offset;
    if (!end) {
        position += offset;
        return offset;
    }
    // A bounded stream stays inside its block, as a file position stays inside a file.
    int64_t target = (position - begin) + int64_t(offset);
    int64_t size = end - begin;
    position = begin + (target < 0 ? 0 : target > size ? size : target);
    atEnd = 0;
    return offset;
}

// Whole items that fit before the end of a bounded block; all of them otherwise.
uint32_t CMemIO::Transferable(uint32_t size, uint32_t count) const
{
    if (!end || size == 0)
        return count;
    uint64_t left = position < end ? uint64_t(end - position) : 0;
    uint64_t fit = left / size;
    return fit < count ? static_cast<uint32_t>(fit) : count;
}
