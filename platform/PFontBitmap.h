#pragma once

#include <cstdint>

// The built-in 5 × 8 bitmap font that draws text when the system offers no usable face.
// Each glyph is five columns, bit 0 the top row; rows 0-6 stand on the baseline and
// row 7 hangs below it (descenders).
namespace PFontBitmap {
constexpr int GlyphWidth = 5;
constexpr int Advance = 6;
constexpr int CellHeight = 10;  // unscaled: 8 rows above the baseline, 2 below
constexpr int Descent = 2;

// Columns of the glyph for a Windows-1252 byte (accented letters fall back to their
// base letter, anything else without a glyph to '?').
const uint8_t* ColumnsOf(unsigned char c);
}  // namespace PFontBitmap
