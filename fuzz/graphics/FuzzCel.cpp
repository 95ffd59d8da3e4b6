// The CEL readers over arbitrary bytes: into a surface and mask, then into channels.
#include "fuzz/graphics/ImageFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    imagefuzz::Exercise<CBCell>(data, size, [](CBCell* cell, CIO* stream) {
        int read = cell->LoadCel(stream);
        cell->BuildChannels();
        return read;
    });
    imagefuzz::Exercise<CBCell>(data, size, [](CBCell* cell, CIO* stream) { return cell->LoadCelChannels(stream); });
    return 0;
}
