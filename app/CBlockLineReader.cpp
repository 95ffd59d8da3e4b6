#include "app/CBlockLineReader.h"

#include "io/CIO.h"

namespace {
constexpr size_t BlockSize = 1u << 16;
}  // namespace

CBlockLineReader::CBlockLineReader(CIO* stream, uint32_t longest)
    : in(stream), limit(longest), room(size_t(longest) + BlockSize), bytes(std::make_unique_for_overwrite<char[]>(room))
{
}

bool CBlockLineReader::Take(size_t count, const char*& taken)
{
    while (end - begin < count && !ended)
        Refill();
    if (end - begin < count)
        return false;
    taken = bytes.get() + begin;
    begin += count;
    return true;
}

// The last line: `size` bytes of what is held, and nothing after it.
void CBlockLineReader::Last(std::string_view& line, size_t size)
{
    line = std::string_view(bytes.get() + begin, size);
    begin = end;
    ended = true;
}

void CBlockLineReader::Refill()
{
    std::memmove(bytes.get(), bytes.get() + begin, end - begin);
    end -= begin;
    begin = 0;
    // A block at a time: the room beyond is for one long line, touched only by one.
    size_t wanted = room - end < BlockSize ? room - end : BlockSize;
    int got = in->Read(bytes.get() + end, 1, static_cast<uint32_t>(wanted));
    if (got <= 0)
        ended = true;
    else
        end += static_cast<size_t>(got);
}
