#include <cstring>

#include "core/CApplication.h"
#include "graphics/CCanvas.h"
#include "graphics/CImageInput.h"
#include "graphics/Colour.h"
#include "graphics/ImageReaders.h"
#include "platform/PSurface.h"

namespace {
constexpr uint32_t FileHeaderBytes = 14;
constexpr uint32_t InfoHeaderBytes = 40;
constexpr uint32_t PaletteEntries = 256;

struct BmpHeader {
    uint32_t dataOffset = 0;  // from the start of the file header
    uint32_t infoSize = 0;
    int32_t width = 0;
    int32_t height = 0;       // negative: rows from the top
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t coloursUsed = 0;
};

uint32_t U32(const uint8_t* p) { return p[0] | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24); }

bool ReadHeader(CImageInput& input, BmpHeader& header)
{
    uint8_t bytes[FileHeaderBytes + InfoHeaderBytes];
    if (input.Read(bytes, sizeof bytes) != sizeof bytes || bytes[0] != 'B' || bytes[1] != 'M')
        return false;
    const uint8_t* info = bytes + FileHeaderBytes;
    header.dataOffset = U32(bytes + 10);
    header.infoSize = U32(info);
    header.width = int32_t(U32(info + 4));
    header.height = int32_t(U32(info + 8));
    header.bitCount = uint16_t(info[14] | (info[15] << 8));
    header.compression = U32(info + 16);
    header.coloursUsed = U32(info + 32);
    return true;
}

uint64_t Rows(const BmpHeader& header) { return header.height < 0 ? 0 - int64_t(header.height) : header.height; }

uint64_t Stride(const BmpHeader& header) { return (uint64_t(header.width) * header.bitCount + 31) / 32 * 4; }

// Only uncompressed 8-, 24- and 32-bit images of a sane size are read.
bool Readable(const BmpHeader& header)
{
    bool knownBits = header.bitCount == 8 || header.bitCount == 24 || header.bitCount == 32;
    return knownBits && header.compression == 0 && header.width >= 0 && header.infoSize >= InfoHeaderBytes &&
           ImageSizeAllowed(uint64_t(header.width), Rows(header));
}

// Skips the rest of a longer information header and any gap before the palette or rows.
bool SkipTo(CImageInput& input, uint64_t& position, uint64_t wanted)
{
    if (wanted <= position)
        return true;
    if (!input.Holds(wanted - position) || !input.Skip(wanted - position))
        return false;
    position = wanted;
    return true;
}

int PaletteSize(const BmpHeader& header)
{
    return header.coloursUsed >= 1 && header.coloursUsed < PaletteEntries ? int(header.coloursUsed) : int(PaletteEntries);
}

void PutIndexedRows(PSurface& surface, const BmpHeader& header, const uint8_t* rows, const uint32_t* palette)
{
    uint64_t height = Rows(header), stride = Stride(header);
    for (uint64_t j = 0; j < height; j++) {
        const uint8_t* row = rows + stride * j;
        int y = int(header.height > 0 ? height - 1 - j : j);
        for (int32_t x = 0; x < header.width; x++)
            surface.SetPixel(x, y, palette[row[x]]);
    }
}
}  // namespace

int LoadBmp(CCanvas* canvas, CIO* stream)
{
    CImageInput input(stream);
    BmpHeader header;
    if (!canvas || !input.IsOpen() || !ReadHeader(input, header) || !Readable(header))
        return 0;
    uint64_t position = FileHeaderBytes + InfoHeaderBytes;
    if (!SkipTo(input, position, FileHeaderBytes + uint64_t(header.infoSize)))
        return 0;
    uint32_t palette[PaletteEntries] = {};  // entries a short palette lacks stay black
    if (header.bitCount == 8) {
        uint8_t entries[PaletteEntries * 4] = {};
        uint32_t bytes = uint32_t(PaletteSize(header)) * 4;
        if (!input.Holds(bytes) || input.Read(entries, bytes) != bytes)
            return 0;
        position += bytes;
        for (int i = 0; i < PaletteSize(header); i++)
            palette[i] = packColour(entries[4 * i + 2], entries[4 * i + 1], entries[4 * i]);
    }
    uint64_t dataBytes = Stride(header) * Rows(header);
    if (!SkipTo(input, position, header.dataOffset) || !input.Holds(dataBytes))
        return 0;

    canvas->Create(header.width, int(Rows(header)));
    if (dataBytes == 0)
        return 1;
    auto rows = static_cast<uint8_t*>(CApplication::AllocateBlock(size_t(dataBytes)));
    std::memset(rows, 0, size_t(dataBytes));
    input.Read(rows, uint32_t(dataBytes));
    if (header.bitCount == 8)
        PutIndexedRows(*canvas->GetSurface(), header, rows, palette);
    else
        canvas->GetSurface()->PutBits(0, 0, header.width, int(Rows(header)), rows, header.bitCount, size_t(Stride(header)), header.height > 0);
    CApplication::Free(rows);
    return 1;
}
