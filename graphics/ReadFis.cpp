#include "core/CApplication.h"
#include "graphics/CCanvas.h"
#include "graphics/CImageInput.h"
#include "graphics/ImageReaders.h"
#include "platform/PSurface.h"

#include <cstring>

int LoadFis(CCanvas* canvas, CIO* stream)
{
    CImageInput input(stream);
    uint32_t width = 0, height = 0;
    if (!canvas || !input.IsOpen() || !input.ReadU32(width) || !input.ReadU32(height))
        return 0;
    uint64_t bytes = uint64_t(width) * height * 3;
    if (!ImageSizeAllowed(width, height) || !input.Holds(bytes))
        return 0;
    canvas->Create(int(width), int(height));
    if (bytes == 0)
        return 1;
    auto rows = static_cast<uint8_t*>(CApplication::AllocateBlock(size_t(bytes)));
    std::memset(rows, 0, size_t(bytes));
    input.Read(rows, uint32_t(bytes));
    canvas->GetSurface()->PutBits(0, 0, int(width), int(height), rows, 24, size_t(width) * 3, false);
    CApplication::Free(rows);
    return 1;
}
