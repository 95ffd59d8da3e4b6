#include "platform/PSurface.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/PFont.h"

namespace {
// Keeps a block transfer inside both surfaces, moving both origins together.
bool ClipBlock(int& x, int& y, int& w, int& h, int& sx, int& sy, const PSurface& target, const PSurface& source)
{
    if (sx < 0) { x -= sx; w += sx; sx = 0; }
    if (sy < 0) { y -= sy; h += sy; sy = 0; }
    if (x < 0) { sx -= x; w += x; x = 0; }
    if (y < 0) { sy -= y; h += y; y = 0; }
    w = std::min({w, target.GetWidth() - x, source.GetWidth() - sx});
    h = std::min({h, target.GetHeight() - y, source.GetHeight() - sy});
    return w > 0 && h > 0;
}

// Clips a rectangle to the surface; false when nothing is left.
bool ClipRect(int& x, int& y, int& w, int& h, int width, int height)
{
    int64_t x0 = std::max<int64_t>(x, 0), y0 = std::max<int64_t>(y, 0);
    int64_t x1 = std::min<int64_t>(int64_t(x) + w, width), y1 = std::min<int64_t>(int64_t(y) + h, height);
    if (x1 <= x0 || y1 <= y0)
        return false;
    x = int(x0), y = int(y0), w = int(x1 - x0), h = int(y1 - y0);
    return true;
}

uint32_t PixelOfBits(const uint8_t* p) { return p[2] | (uint32_t(p[1]) << 8) | (uint32_t(p[0]) << 16); }
}  // namespace

PSurface::PSurface(int w, int h, Allocate allocate, Release releaseBlock)
{
    if (w <= 0 || h <= 0)
        return;
    size_t bytes = size_t(w) * size_t(h) * sizeof(uint32_t);
    void* block = allocate ? allocate(bytes) : std::malloc(bytes);
    if (!block)
        return;
    std::memset(block, 0, bytes);
    pixels = static_cast<uint32_t*>(block);
    release = allocate ? releaseBlock : std::free;
    width = w;
    height = h;
}

PSurface::~PSurface()
{
    if (pixels && release)
        release(pixels);
}

void PSurface::FillRect(int x, int y, int w, int h, uint32_t colour)
{
    if (!ClipRect(x, y, w, h, width, height))
        return;
    for (int j = 0; j < h; j++)
        std::fill_n(Row(y + j) + x, w, colour);
}

void PSurface::Line(int x1, int y1, int x2, int y2, uint32_t colour)
{
    int64_t dx = std::abs(int64_t(x2) - x1), dy = -std::abs(int64_t(y2) - y1);
    int stepX = x1 < x2 ? 1 : -1, stepY = y1 < y2 ? 1 : -1;
    int64_t error = dx + dy;
    int64_t steps = std::max(dx, -dy);
    int x = x1, y = y1;
    for (int64_t i = 0; i < steps; i++) {
        SetPixel(x, y, colour);
        int64_t twice = 2 * error;
        if (twice >= dy) { error += dy; x += stepX; }
        if (twice <= dx) { error += dx; y += stepY; }
    }
}

void PSurface::SetPixel(int x, int y, uint32_t colour)
{
    if (x >= 0 && y >= 0 && x < width && y < height)
        Row(y)[x] = colour;
}

uint32_t PSurface::GetPixel(int x, int y) const
{
    if (x >= 0 && y >= 0 && x < width && y < height)
        return Row(y)[x];
    return InvalidColour;
}

void PSurface::BitBlt(int x, int y, int w, int h, const PSurface& source, int sx, int sy, PRasterOp op)
{
    if (!ClipBlock(x, y, w, h, sx, sy, *this, source))
        return;
    // Copying a surface onto itself downwards must start with the bottom row.
    bool upwards = &source == this && sy < y;
    for (int k = 0; k < h; k++) {
        int j = upwards ? h - 1 - k : k;
        const uint32_t* from = source.Row(sy + j) + sx;
        uint32_t* to = Row(y + j) + x;
        switch (op) {
        case RopAnd:
            for (int i = 0; i < w; i++)
                to[i] &= from[i];
            break;
        case RopOr:
            for (int i = 0; i < w; i++)
                to[i] |= from[i];
            break;
        default:
            std::memmove(to, from, size_t(w) * sizeof(uint32_t));
            break;
        }
    }
}

void PSurface::PutBits(int x, int y, int w, int h, const uint8_t* bits, int bitCount, size_t stride, bool bottomUp)
{
    if (!bits || (bitCount != 24 && bitCount != 32) || w <= 0 || h <= 0)
        return;
    int bytesPerPixel = bitCount / 8;
    for (int j = 0; j < h; j++) {
        int row = y + j;
        if (row < 0 || row >= height)
            continue;
        const uint8_t* line = bits + stride * size_t(bottomUp ? h - 1 - j : j);
        int first = std::max(0, -x), last = std::min(w, width - x);
        uint32_t* to = Row(row);
        for (int i = first; i < last; i++)
            to[x + i] = PixelOfBits(line + size_t(i) * bytesPerPixel);
    }
}

void PSurface::DrawText(int x, int y, const char* text, int count, const PFont* font, uint32_t colour)
{
    if (!font)
        font = PFont::Default();
    font->Draw(*this, x, y, text, count, colour);
}
