#include "graphics/CImageInput.h"

#include <cstdio>

#include "io/CFile.h"
#include "io/CMemIO.h"

namespace {
constexpr uint64_t MaxSide = 32768;
constexpr uint64_t MaxPixels = uint64_t(1) << 24;

int64_t FileRemaining(std::FILE* handle)
{
    long here = std::ftell(handle);
    if (here < 0 || std::fseek(handle, 0, SEEK_END) != 0)
        return -1;
    long end = std::ftell(handle);
    std::fseek(handle, here, SEEK_SET);
    return end >= here ? end - here : 0;
}
}  // namespace

bool ImageSizeAllowed(uint64_t width, uint64_t height)
{
    return width <= MaxSide && height <= MaxSide && width * height <= MaxPixels;
}

CImageInput::CImageInput(CIO* stream) : stream(stream) {}

bool CImageInput::IsOpen() const { return stream && stream->created; }

bool CImageInput::Holds(uint64_t bytes) const
{
    int64_t left = Remaining();
    return left < 0 || bytes <= uint64_t(left);
}

uint32_t CImageInput::Read(void* buffer, uint32_t bytes)
{
    if (bytes == 0 || !IsOpen())
        return 0;
    int got = stream->Read(buffer, 1, bytes);
    return got > 0 ? uint32_t(got) : 0;
}

bool CImageInput::ReadU16(uint16_t& value)
{
    uint8_t b[2];
    if (Read(b, 2) != 2)
        return false;
    value = uint16_t(b[0] | (b[1] << 8));
    return true;
}

bool CImageInput::ReadU32(uint32_t& value)
{
    uint8_t b[4];
    if (Read(b, 4) != 4)
        return false;
    value = b[0] | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
    return true;
}

bool CImageInput::Skip(uint64_t bytes)
{
    uint8_t scrap[256];
    while (bytes > 0) {
        uint32_t step = bytes < sizeof scrap ? uint32_t(bytes) : uint32_t(sizeof scrap);
        if (Read(scrap, step) != step)
            return false;
        bytes -= step;
    }
    return true;
}

int64_t CImageInput::Remaining() const
{
    if (!IsOpen())
        return 0;
    if (auto file = dynamic_cast<CFile*>(stream))
        return file->handle ? FileRemaining(file->handle) : 0;
    if (auto memory = dynamic_cast<CMemIO*>(stream); memory && memory->end)
        return memory->position < memory->end ? memory->end - memory->position : 0;
    return -1;
}
