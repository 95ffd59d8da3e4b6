#include "platform/PngEncoder.h"

#include <array>
#include <cstddef>

namespace PngEncoder {

namespace {
constexpr size_t StoredBlockLimit = 65535;  // a stored block's length field is 16 bits

const std::array<uint32_t, 256>& CrcTable()
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; n++) {
            uint32_t c = n;
            for (int k = 0; k < 8; k++)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

void PutBigEndian(std::vector<unsigned char>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(value >> shift));
}

void PutChunk(std::vector<unsigned char>& out, const char type[4], const std::vector<unsigned char>& data)
{
    PutBigEndian(out, static_cast<uint32_t>(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBigEndian(out, Crc32(out.data() + start, out.size() - start));
}
}  // namespace

uint32_t Crc32(const unsigned char* bytes, size_t count, uint32_t crc)
{
    const auto& table = CrcTable();
    crc = ~crc;
    for (size_t i = 0; i < count; i++)
        crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t Adler32(const unsigned char* bytes, size_t count, uint32_t adler)
{
    constexpr uint32_t Base = 65521;
    uint32_t a = adler & 0xFFFF, b = adler >> 16;
    while (count > 0) {
        size_t run = count < 5552 ? count : 5552;  // the sums stay within 32 bits
        count -= run;
        while (run--) {
            a += *bytes++;
            b += a;
        }
        a %= Base;
        b %= Base;
    }
    return (b << 16) | a;
}

bool Encode(const unsigned char* pixels, int width, int height, ColourType type, std::vector<unsigned char>& png)
{
    png.clear();
    if (!pixels || width <= 0 || height <= 0)
        return false;
    size_t channels = type == Rgba ? 4 : 3;
    size_t row = size_t(width) * channels;
    // Each row starts with its filter byte (0: none).
    std::vector<unsigned char> raw;
    raw.reserve((row + 1) * size_t(height));
    for (int y = 0; y < height; y++) {
        raw.push_back(0);
        const unsigned char* line = pixels + size_t(y) * row;
        raw.insert(raw.end(), line, line + row);
    }

    std::vector<unsigned char> z;
    z.reserve(raw.size() + raw.size() / StoredBlockLimit * 5 + 16);
    z.push_back(0x78);  // deflate, 32 KiB window
    z.push_back(0x01);  // no preset dictionary, lowest level; 0x7801 is a multiple of 31
    size_t at = 0;
    do {
        size_t length = raw.size() - at < StoredBlockLimit ? raw.size() - at : StoredBlockLimit;
        bool last = at + length == raw.size();
        z.push_back(last ? 1 : 0);  // BFINAL, BTYPE 00: stored
        z.push_back(static_cast<unsigned char>(length));
        z.push_back(static_cast<unsigned char>(length >> 8));
        z.push_back(static_cast<unsigned char>(~length));
        z.push_back(static_cast<unsigned char>(~length >> 8));
        z.insert(z.end(), raw.begin() + ptrdiff_t(at), raw.begin() + ptrdiff_t(at + length));
        at += length;
    } while (at < raw.size());
    PutBigEndian(z, Adler32(raw.data(), raw.size()));

    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    png.assign(signature, signature + 8);
    std::vector<unsigned char> header;
    PutBigEndian(header, uint32_t(width));
    PutBigEndian(header, uint32_t(height));
    header.push_back(8);  // bits per channel
    header.push_back(type);
    header.push_back(0);  // compression: deflate
    header.push_back(0);  // filter method 0
    header.push_back(0);  // not interlaced
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", z);
    PutChunk(png, "IEND", {});
    return true;
}

}  // namespace PngEncoder
