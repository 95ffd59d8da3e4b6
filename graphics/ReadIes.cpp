#include "core/CApplication.h"
#include "graphics/CCanvas.h"
#include "graphics/CImageInput.h"
#include "graphics/Colour.h"
#include "graphics/ImageReaders.h"

#include <cstring>

namespace {
constexpr uint32_t PaletteBytes = 256 * 3;
}

int LoadIes(CCanvas* canvas, CIO* stream)
{
    CImageInput input(stream);
    uint32_t width = 0, height = 0;
    if (!canvas || !input.IsOpen() || !input.ReadU32(width) || !input.ReadU32(height))
        return 0;
    uint64_t pixels = uint64_t(width) * height;
    if (!ImageSizeAllowed(width, height) || !input.Holds(PaletteBytes + pixels))
        return 0;
    uint8_t palette[PaletteBytes] = {};
    input.Read(palette, PaletteBytes);
    auto indices = static_cast<uint8_t*>(CApplication::AllocateBlock(size_t(pixels)));
    std::memset(indices, 0, size_t(pixels));
    input.Read(indices, uint32_t(pixels));

    canvas->Create(int(width), int(height));
    canvas->SetWorkCopy(1);
    for (uint32_t y = 0; y < height; y++)
        for (uint32_t x = 0; x < width; x++) {
            const uint8_t* entry = palette + 3 * indices[size_t(y) * width + x];
            canvas->PutPixel(int(x), int(y), packColour(entry[2], entry[1], entry[0]));
        }
    canvas->CommitWork();
    canvas->SetWorkCopy(0);
    CApplication::Free(indices);
    return 1;
}
