#include <algorithm>

#include "core/CApplication.h"
#include "graphics/CBCell.h"
#include "graphics/CImageInput.h"
#include "graphics/Colour.h"
#include "platform/PSurface.h"

namespace {
// A block of the cell landing on the target, clipped to the cell and the target.
struct Block {
    int x, y, sx, sy, w, h;
};

bool ClipBlock(Block& b, int cellWidth, int cellHeight, const PSurface& target)
{
    if (b.w == 0 || b.w > cellWidth - b.sx) b.w = cellWidth - b.sx;
    if (b.h == 0 || b.h > cellHeight - b.sy) b.h = cellHeight - b.sy;
    if (b.sx < 0) { b.x -= b.sx; b.w += b.sx; b.sx = 0; }
    if (b.sy < 0) { b.y -= b.sy; b.h += b.sy; b.sy = 0; }
    if (b.x < 0) { b.sx -= b.x; b.w += b.x; b.x = 0; }
    if (b.y < 0) { b.sy -= b.y; b.h += b.y; b.y = 0; }
    b.w = std::min(b.w, target.GetWidth() - b.x);
    b.h = std::min(b.h, target.GetHeight() - b.y);
    return b.w > 0 && b.h > 0;
}

// (source × a + target × (255 − a)) / 256 for each part.
inline uint32_t Blend(uint32_t r, uint32_t g, uint32_t b, uint32_t a, uint32_t target)
{
    uint32_t rest = 255 - a;
    return packColour((r * a + redOf(target) * rest) >> 8, (g * a + greenOf(target) * rest) >> 8,
                      (b * a + blueOf(target) * rest) >> 8);
}

// Where the colour and opacity of a cell's pixels come from: its channels, or its
// surface with the mask's red part (opaque where there is no mask pixel).
struct Source {
    const CBCell& cell;
    uint32_t Alpha(int x, int y) const
    {
        if (cell.channelsReady)
            return cell.alpha[size_t(y) * cell.width + x];
        CCanvas* mask = cell.GetMask();
        uint32_t value = mask && mask->GetSurface() ? mask->GetSurface()->GetPixel(x, y) : InvalidColour;
        return value == InvalidColour ? 255 : redOf(value);
    }
    void Colour(int x, int y, uint32_t& r, uint32_t& g, uint32_t& b) const
    {
        if (cell.channelsReady) {
            size_t i = size_t(y) * cell.width + x;
            r = cell.red[i], g = cell.green[i], b = cell.blue[i];
            return;
        }
        uint32_t value = cell.GetSurface() ? cell.GetSurface()->GetPixel(x, y) : 0;
        value = value == InvalidColour ? 0 : value;
        r = redOf(value), g = greenOf(value), b = blueOf(value);
    }
};

void DrawChannelRows(const CBCell& cell, PSurface& target, const Block& b)
{
    for (int j = 0; j < b.h; j++) {
        size_t first = size_t(b.sy + j) * cell.width + b.sx;
        const uint32_t* r = cell.red + first;
        const uint32_t* g = cell.green + first;
        const uint32_t* bl = cell.blue + first;
        const uint32_t* a = cell.alpha + first;
        uint32_t* out = target.Row(b.y + j) + b.x;
        for (int i = 0; i < b.w; i++) {
            uint32_t opacity = a[i];
            if (opacity == 0)
                continue;
            out[i] = opacity >= 255 ? packColour(r[i], g[i], bl[i]) : Blend(r[i], g[i], bl[i], opacity, out[i]);
        }
    }
}

void DrawMaskedPixels(const CBCell& cell, PSurface& target, const Block& b)
{
    Source source{cell};
    for (int i = 0; i < b.w; i++)
        for (int j = 0; j < b.h; j++) {
            uint32_t a = source.Alpha(b.sx + i, b.sy + j), r, g, bl;
            if (a == 0)
                continue;
            source.Colour(b.sx + i, b.sy + j, r, g, bl);
            uint32_t& out = target.Row(b.y + j)[b.x + i];
            out = a >= 255 ? packColour(r, g, bl) : Blend(r, g, bl, a, out);
        }
}

// Every pixel is rewritten, even where the cell is transparent or opaque.
void FadeRows(const CBCell& cell, PSurface& target, const Block& b, float factor)
{
    Source source{cell};
    for (int j = 0; j < b.h; j++)
        for (int i = 0; i < b.w; i++) {
            uint32_t r, g, bl;
            source.Colour(b.sx + i, b.sy + j, r, g, bl);
            uint32_t a = std::min<uint32_t>(255, uint32_t(float(source.Alpha(b.sx + i, b.sy + j)) * factor));
            uint32_t& out = target.Row(b.y + j)[b.x + i];
            out = Blend(r, g, bl, a, out);
        }
}

float ClampOpacity(float opacity) { return opacity > 1.0f ? 1.0f : opacity > 0.0f ? opacity : 0.0f; }

// Grid positions of a scaled copy: source index of each of the 2n sample points.
void SampleIndices(int sourceSize, int n, int* indices)
{
    for (int i = 0; i < 2 * n; i++)
        indices[i] = int(int64_t(sourceSize) * i / (2 * int64_t(n)));
}

void ScaleChannel(const uint32_t* from, int fromWidth, const int* columns, const int* rows, uint32_t* to, int w, int h)
{
    auto at = [&](int gx, int gy) { return from[size_t(rows[gy]) * fromWidth + columns[gx]]; };
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            int gx = 2 * x, gy = 2 * y;
            if (x == 0 || y == 0) {
                to[size_t(y) * w + x] = at(gx, gy);
                continue;
            }
            uint32_t sum = at(gx - 1, gy - 1) + 2 * at(gx, gy - 1) + at(gx + 1, gy - 1) +
                           2 * at(gx - 1, gy) + 4 * at(gx, gy) + 2 * at(gx + 1, gy) +
                           at(gx - 1, gy + 1) + 2 * at(gx, gy + 1) + at(gx + 1, gy + 1);
            to[size_t(y) * w + x] = sum / 16;
        }
}
}  // namespace

void CBCell::DrawOn(CCanvas* target, int x, int y, int sx, int sy, int w, int h)
{
    if (!target || !target->GetSurface())
        return;
    Block block{x, y, sx, sy, w, h};
    if (!ClipBlock(block, width, height, *target->GetSurface()))
        return;
    if (channelsReady)
        DrawChannelRows(*this, *target->GetSurface(), block);
    else if (GetSurface())
        DrawMaskedPixels(*this, *target->GetSurface(), block);
}

void CBCell::DrawFaded(CCanvas* target, int x, int y, int sx, int sy, int w, int h, float opacity)
{
    if (!target || !target->GetSurface() || (!channelsReady && !GetSurface()))
        return;
    // Fading works on the target's work copy, committed and dropped afterwards. Without
    // one, drawing straight onto the surface gives the same pixels without copying twice.
    bool onWorkCopy = target->workCopy && target->workBitmap;
    PSurface& surface = onWorkCopy ? *target->workBitmap : *target->GetSurface();
    Block b{x, y, sx, sy, w, h};
    if (ClipBlock(b, width, height, surface))
        FadeRows(*this, surface, b, ClampOpacity(opacity));
    if (onWorkCopy) {
        target->CommitWork();
        target->SetWorkCopy(0);
    }
}

CBCell* CBCell::Scaled(int w, int h)
{
    auto result = new CBCell(application);
    Variable hold(result);
    if (!channelsReady)
        BuildChannels();
    if (w > 0 && h > 0 && ImageSizeAllowed(uint64_t(w), uint64_t(h))) {
        result->AllocateChannels(w, h);
        result->width = w;
        result->height = h;
        if (channelsReady && width > 0 && height > 0) {
            int* columns = static_cast<int*>(CApplication::AllocateBlock(sizeof(int) * 2 * size_t(w)));
            int* rows = static_cast<int*>(CApplication::AllocateBlock(sizeof(int) * 2 * size_t(h)));
            SampleIndices(width, w, columns);
            SampleIndices(height, h, rows);
            ScaleChannel(red, width, columns, rows, result->red, w, h);
            ScaleChannel(green, width, columns, rows, result->green, w, h);
            ScaleChannel(blue, width, columns, rows, result->blue, w, h);
            ScaleChannel(alpha, width, columns, rows, result->alpha, w, h);
            CApplication::Free(columns);
            CApplication::Free(rows);
        }
    }
    result->Protect();
    return result;
}
