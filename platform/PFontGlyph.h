#pragma once

// Private to the font files: what the system-specific font code and the shared glyph
// code both need.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/PFont.h"

struct PFont::Glyph {
    bool ready = false;
    int advance = 0;
    int left = 0;   // from the pen position
    int top = 0;    // rows above the baseline
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bits;  // width × height, 1 where the glyph sets a pixel
};

namespace platform {
constexpr int DefaultCellHeight = 13;  // what a request of height 0 gets
// Cells beyond a screen's height would only cost memory for glyphs nobody can see.
constexpr int LargestCellHeight = 1024;

inline int CellHeightOf(const PFontRequest& request)
{
    return request.height > 0 ? std::min(request.height, LargestCellHeight) : DefaultCellHeight;
}
}  // namespace platform
