// The IES reader over arbitrary bytes, from memory and from a file.
#include "fuzz/graphics/ImageFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    imagefuzz::Exercise<CBCell>(data, size, [](CBCell* cell, CIO* stream) { return LoadIes(cell, stream); });
    return 0;
}
