#include "graphics/CCanvas.h"
#include "graphics/CImageInput.h"
#include "graphics/Colour.h"
#include "graphics/ImageReaders.h"

namespace {
constexpr uint64_t RunBytes = 5;
constexpr uint64_t LongestRun = 65535;

// The fewest bytes of runs that can cover the image.
uint64_t LeastRunBytes(uint64_t pixels) { return (pixels + LongestRun - 1) / LongestRun * RunBytes; }
}  // namespace

int LoadFcr(CCanvas* canvas, CIO* stream)
{
    CImageInput input(stream);
    uint32_t width = 0, height = 0;
    if (!canvas || !input.IsOpen() || !input.ReadU32(width) || !input.ReadU32(height))
        return 0;
    if (!ImageSizeAllowed(width, height) || !input.Holds(LeastRunBytes(uint64_t(width) * height)))
        return 0;
    canvas->Create(int(width), int(height));
    canvas->SetWorkCopy(1);
    // The position starts just before (0, 0); every step moves right, wrapping rows.
    int64_t x = -1, y = 0;
    uint8_t run[RunBytes];
    while (y < int64_t(height) && input.Read(run, RunBytes) == RunBytes) {
        uint32_t colour = packColour(run[2], run[1], run[0]);
        uint32_t count = run[3] | (uint32_t(run[4]) << 8);
        for (uint32_t i = 0; i < (count ? count : 1) && y < int64_t(height); i++) {
            if (++x >= int64_t(width)) {
                x = 0;
                y++;
            }
            canvas->PutPixel(int(x), int(y), colour);
        }
    }
    canvas->CommitWork();
    canvas->SetWorkCopy(0);
    return 1;
}
