// The BMPCEL reader over arbitrary bytes: two bitmaps, the second the opacity.
#include "fuzz/graphics/ImageFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    imagefuzz::Exercise<CBCell>(data, size, [](CBCell* cell, CIO* stream) {
        int read = cell->LoadBmpCel(stream);
        cell->BuildChannels();
        return read;
    });
    return 0;
}
