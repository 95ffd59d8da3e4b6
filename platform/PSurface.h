#pragma once

#include <cstddef>
#include <cstdint>

class PFont;

// Raster operations of a block transfer.
enum PRasterOp : uint32_t {
    RopCopy = 0,  // source
    RopAnd = 1,   // source AND destination
    RopOr = 2,    // source OR destination
};

// Answer of GetPixel for a point outside the surface (or on an empty surface).
constexpr uint32_t InvalidColour = 0xFFFFFFFFu;

// An off-screen surface of 32-bit pixels: what a memory device context with a
// compatible bitmap selected into it is on the desktop platform. Every drawing
// operation happens here, identically for every backend; a backend only copies a
// rectangle of a surface to a window.
//
// Pixel layout: one uint32_t per pixel, the colour reference r + g·256 + b·65536
// (red in bits 0-7, green in bits 8-15, blue in bits 16-23, bits 24-31 zero).
// Rows are stored top row first, each GetWidth() pixels long with no padding, so
// Row(y)[x] is pixel (x, y) and Row(y + 1) == Row(y) + GetWidth().
//
// Pixels outside the surface are ignored by every drawing operation. An empty surface
// (width or height 0) draws nothing.
class PSurface {
public:
    using Allocate = void* (*)(size_t bytes);
    using Release = void (*)(void* block);

    // A width × height surface, all pixels 0 (black). Negative sizes count as 0.
    // The pixel block comes from `allocate` (malloc when none); an allocator that
    // returns null leaves an empty surface.
    PSurface(int width, int height, Allocate allocate = nullptr, Release release = nullptr);
    ~PSurface();
    PSurface(const PSurface&) = delete;
    PSurface& operator=(const PSurface&) = delete;

    int GetWidth() const { return width; }
    int GetHeight() const { return height; }
    uint32_t* Row(int y) { return pixels + static_cast<size_t>(y) * static_cast<size_t>(width); }
    const uint32_t* Row(int y) const { return pixels + static_cast<size_t>(y) * static_cast<size_t>(width); }
    uint32_t* GetPixels() { return pixels; }
    const uint32_t* GetPixels() const { return pixels; }

    // Fills x..x+w-1, y..y+h-1.
    void FillRect(int x, int y, int w, int h, uint32_t colour);
    // A one-pixel line from (x1, y1) towards (x2, y2); the end pixel is left out.
    void Line(int x1, int y1, int x2, int y2, uint32_t colour);
    void SetPixel(int x, int y, uint32_t colour);
    uint32_t GetPixel(int x, int y) const;  // InvalidColour outside

    // Transfers the w × h block at (sx, sy) of `source` to (x, y), combined by `op`.
    // The source may be this surface, blocks overlapping or not (scrolling).
    void BitBlt(int x, int y, int w, int h, const PSurface& source, int sx, int sy, PRasterOp op);

    // Device-independent transfer: `bits` holds h rows of w pixels of `bitCount`
    // (24: blue, green, red; 32: blue, green, red, unused) bytes, each row `stride`
    // bytes long; with `bottomUp` the first row in memory is the bottom one. The rows
    // land at (x, y) .. (x + w - 1, y + h - 1).
    void PutBits(int x, int y, int w, int h, const uint8_t* bits, int bitCount, size_t stride, bool bottomUp);

    // Writes `count` Windows-1252 characters with the bottom edge of their cell on
    // (x, y): the cell covers rows y - height .. y - 1. Only glyph pixels change.
    // A null font writes with the default font.
    void DrawText(int x, int y, const char* text, int count, const PFont* font, uint32_t colour);

private:
    int width = 0;
    int height = 0;
    uint32_t* pixels = nullptr;
    Release release = nullptr;
};
