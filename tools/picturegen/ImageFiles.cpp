#include "tools/picturegen/ImageFiles.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace {
uint8_t Byte(float v) { return uint8_t(std::clamp(std::lround(v * 255.0f), 0L, 255L)); }

void PutU32(ByteString& out, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        out.push_back(uint8_t(v >> (8 * i)));
}

std::array<uint8_t, 3> Over(const Rgba& c, Rgba background)
{
    return {Byte(c.r * c.a + background.r * (1 - c.a)), Byte(c.g * c.a + background.g * (1 - c.a)), Byte(c.b * c.a + background.b * (1 - c.a))};
}

using Colour = std::array<uint8_t, 3>;

// Median cut: splits the box with the widest channel range at its median until there
// are `count` boxes; each palette entry is the mean of its box.
std::vector<Colour> Palette(std::vector<Colour> colours, size_t count)
{
    struct Box { size_t begin, end; };
    std::vector<Box> boxes{{0, colours.size()}};
    auto range = [&](const Box& b, int& channel) {
        int best = -1;
        for (int c = 0; c < 3; c++) {
            auto [lo, hi] = std::minmax_element(colours.begin() + long(b.begin), colours.begin() + long(b.end),
                                                [c](const Colour& p, const Colour& q) { return p[c] < q[c]; });
            if ((*hi)[c] - (*lo)[c] > best)
                best = (*hi)[c] - (*lo)[c], channel = c;
        }
        return best;
    };
    while (boxes.size() < count) {
        int channel = 0, widest = 0;
        size_t chosen = boxes.size();
        for (size_t i = 0; i < boxes.size(); i++) {
            int c = 0, r = boxes[i].end - boxes[i].begin > 1 ? range(boxes[i], c) : 0;
            if (r > widest)
                widest = r, chosen = i, channel = c;
        }
        if (chosen == boxes.size())
            break;
        Box b = boxes[chosen];
        std::sort(colours.begin() + long(b.begin), colours.begin() + long(b.end), [channel](const Colour& p, const Colour& q) { return p[channel] < q[channel]; });
        size_t middle = (b.begin + b.end) / 2;
        boxes[chosen] = {b.begin, middle};
        boxes.push_back({middle, b.end});
    }
    std::vector<Colour> palette;
    for (const Box& b : boxes) {
        uint64_t sum[3] = {};
        for (size_t i = b.begin; i < b.end; i++)
            for (int c = 0; c < 3; c++)
                sum[c] += colours[i][c];
        size_t n = std::max<size_t>(b.end - b.begin, 1);
        palette.push_back({uint8_t(sum[0] / n), uint8_t(sum[1] / n), uint8_t(sum[2] / n)});
    }
    palette.resize(count);
    return palette;
}

uint8_t Nearest(const std::vector<Colour>& palette, const Colour& c)
{
    int best = 0;
    long bestDistance = 1L << 30;
    for (size_t i = 0; i < palette.size(); i++) {
        long d = 0;
        for (int k = 0; k < 3; k++)
            d += long(palette[i][k] - c[k]) * (palette[i][k] - c[k]);
        if (d < bestDistance)
            bestDistance = d, best = int(i);
    }
    return uint8_t(best);
}
}  // namespace

ByteString CelBytes(const Painter& picture)
{
    ByteString out;
    for (int layer = 0; layer < 2; layer++) {
        PutU32(out, uint32_t(picture.width));
        PutU32(out, uint32_t(picture.height));
        for (int y = 0; y < picture.height; y++)
            for (int x = 0; x < picture.width; x++) {
                const Rgba& c = picture.At(x, y);
                uint8_t a = Byte(c.a);
                if (layer == 0 && a == 0)
                    out.insert(out.end(), {0, 0, 0});
                else if (layer == 0)
                    out.insert(out.end(), {Byte(c.b), Byte(c.g), Byte(c.r)});
                else
                    out.insert(out.end(), {a, a, a});
            }
    }
    return out;
}

ByteString IesBytes(const Painter& picture, Rgba background)
{
    std::vector<Colour> colours;
    for (int y = 0; y < picture.height; y++)
        for (int x = 0; x < picture.width; x++)
            colours.push_back(Over(picture.At(x, y), background));
    std::vector<Colour> palette = Palette(colours, 256);
    ByteString out;
    PutU32(out, uint32_t(picture.width));
    PutU32(out, uint32_t(picture.height));
    for (const Colour& c : palette)
        out.insert(out.end(), {c[2], c[1], c[0]});
    for (const Colour& c : colours)
        out.push_back(Nearest(palette, c));
    return out;
}

std::vector<unsigned char> PreviewBytes(const Painter& picture, Rgba background, int zoom)
{
    int w = picture.width * zoom, h = picture.height * zoom;
    std::vector<unsigned char> out(size_t(w) * h * 4);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            Colour c = Over(picture.At(x / zoom, y / zoom), background);
            unsigned char* p = &out[(size_t(y) * w + x) * 4];
            p[0] = c[0], p[1] = c[1], p[2] = c[2], p[3] = 255;
        }
    return out;
}

bool WriteBytes(const std::string& path, const ByteString& bytes)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

std::vector<unsigned char> RgbaBytes(const Painter& picture)
{
    std::vector<unsigned char> out;
    out.reserve(size_t(picture.width) * picture.height * 4);
    for (int y = 0; y < picture.height; y++)
        for (int x = 0; x < picture.width; x++) {
            const Rgba& c = picture.At(x, y);
            out.insert(out.end(), {Byte(c.r), Byte(c.g), Byte(c.b), Byte(c.a)});
        }
    return out;
}

// An ICO file of 32-bit entries (colour with alpha, bottom-up BGRA, then the 1-bit mask
// that older readers use), one entry per picture, each at most 255 pixels wide.
ByteString IcoBytes(const std::vector<Painter>& sizes)
{
    ByteString out;
    auto put16 = [&out](uint32_t v) { out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8)}); };
    auto put32 = [&](uint32_t v) { put16(v & 0xFFFF), put16(v >> 16); };
    put16(0), put16(1), put16(uint32_t(sizes.size()));
    uint32_t offset = uint32_t(6 + 16 * sizes.size());
    std::vector<uint32_t> entryBytes;
    for (const Painter& p : sizes) {
        uint32_t maskRow = uint32_t((p.width + 31) / 32 * 4);
        uint32_t bytes = 40 + uint32_t(p.width * p.height * 4) + maskRow * uint32_t(p.height);
        out.insert(out.end(), {uint8_t(p.width), uint8_t(p.height), 0, 0});
        put16(1), put16(32), put32(bytes), put32(offset);
        offset += bytes;
        entryBytes.push_back(bytes);
    }
    for (const Painter& p : sizes) {
        uint32_t maskRow = uint32_t((p.width + 31) / 32 * 4);
        put32(40), put32(uint32_t(p.width)), put32(uint32_t(2 * p.height)), put16(1), put16(32);
        put32(0), put32(uint32_t(p.width * p.height * 4) + maskRow * uint32_t(p.height));
        put32(0), put32(0), put32(0), put32(0);
        for (int y = p.height - 1; y >= 0; y--)
            for (int x = 0; x < p.width; x++) {
                const Rgba& c = p.At(x, y);
                out.insert(out.end(), {Byte(c.b), Byte(c.g), Byte(c.r), Byte(c.a)});
            }
        for (int y = p.height - 1; y >= 0; y--) {
            ByteString row(maskRow, 0);
            for (int x = 0; x < p.width; x++)
                if (Byte(p.At(x, y).a) == 0)
                    row[size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
            out.insert(out.end(), row.begin(), row.end());
        }
    }
    return out;
}
