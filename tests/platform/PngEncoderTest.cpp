#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/PngEncoder.h"

namespace {
uint32_t BigEndian(const std::vector<unsigned char>& bytes, size_t at)
{
    return uint32_t(bytes[at]) << 24 | uint32_t(bytes[at + 1]) << 16 | uint32_t(bytes[at + 2]) << 8 | bytes[at + 3];
}

// CRC-32 bit by bit, apart from the encoder's table.
uint32_t SlowCrc(const unsigned char* bytes, size_t count)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < count; i++) {
        crc ^= bytes[i];
        for (int k = 0; k < 8; k++)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

struct Decoded {
    uint32_t width = 0, height = 0;
    int colourType = -1;
    std::vector<unsigned char> raw;  // filter bytes and pixels
    int chunks = 0;
};

// Reads what the encoder writes: chunks checked by their CRC, the zlib stream of stored
// blocks checked by its Adler-32. Fails the test on anything else.
Decoded Decode(const std::vector<unsigned char>& png)
{
    Decoded out;
    const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(png.size() > 8 && std::equal(signature, signature + 8, png.begin()));
    std::vector<unsigned char> z;
    size_t at = 8;
    std::string last;
    while (at + 12 <= png.size()) {
        uint32_t length = BigEndian(png, at);
        std::string type(png.begin() + ptrdiff_t(at + 4), png.begin() + ptrdiff_t(at + 8));
        EXPECT_LE(at + 12 + length, png.size());
        EXPECT_EQ(BigEndian(png, at + 8 + length), SlowCrc(png.data() + at + 4, length + 4)) << type;
        const unsigned char* data = png.data() + at + 8;
        if (type == "IHDR") {
            out.width = BigEndian(png, at + 8);
            out.height = BigEndian(png, at + 12);
            EXPECT_EQ(data[8], 8);
            out.colourType = data[9];
        } else if (type == "IDAT") {
            z.insert(z.end(), data, data + length);
        }
        out.chunks++;
        last = type;
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size());
    EXPECT_EQ(last, "IEND");
    EXPECT_GE(z.size(), 2u + 5u + 4u);
    if (z.size() < 11)
        return out;
    EXPECT_EQ((z[0] * 256 + z[1]) % 31, 0) << "zlib header check";
    EXPECT_EQ(z[0] & 0x0F, 8) << "deflate";
    size_t p = 2;
    bool final = false;
    while (!final && p + 5 <= z.size()) {
        final = z[p] & 1;
        EXPECT_EQ((z[p] >> 1) & 3, 0) << "stored block";
        unsigned length = z[p + 1] | z[p + 2] << 8;
        unsigned inverse = z[p + 3] | z[p + 4] << 8;
        EXPECT_EQ(length ^ 0xFFFF, inverse);
        p += 5;
        out.raw.insert(out.raw.end(), z.begin() + ptrdiff_t(p), z.begin() + ptrdiff_t(p + length));
        p += length;
    }
    EXPECT_TRUE(final);
    uint32_t a = 1, b = 0;
    for (unsigned char c : out.raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    EXPECT_EQ(p + 4, z.size());
    EXPECT_EQ(BigEndian(z, p), (b << 16) | a) << "Adler-32 of the image data";
    return out;
}
}  // namespace

TEST(PngEncoder, SmallAndLargeImagesAreStoredRowByRow)
{
    const unsigned char pixels[2 * 2 * 3] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 8, 7};
    std::vector<unsigned char> png;
    ASSERT_TRUE(PngEncoder::Encode(pixels, 2, 2, PngEncoder::Rgb, png));
    Decoded image = Decode(png);
    EXPECT_EQ(image.width, 2u);
    EXPECT_EQ(image.height, 2u);
    EXPECT_EQ(image.colourType, 2);
    EXPECT_EQ(image.chunks, 3);
    EXPECT_EQ(image.raw, (std::vector<unsigned char>{0, 255, 0, 0, 0, 255, 0, 0, 0, 0, 255, 9, 8, 7}));

    // 300 × 100 RGBA: 120,100 bytes of image data, more than one block holds.
    const int width = 300, height = 100;
    std::vector<unsigned char> rgba(size_t(width) * height * 4);
    for (size_t i = 0; i < rgba.size(); i++)
        rgba[i] = static_cast<unsigned char>(i * 7 + i / 1000);
    png.clear();
    ASSERT_TRUE(PngEncoder::Encode(rgba.data(), width, height, PngEncoder::Rgba, png));
    image = Decode(png);
    EXPECT_EQ(image.colourType, 6);
    ASSERT_EQ(image.raw.size(), size_t(height) * (width * 4 + 1));
    for (int y = 0; y < height; y++) {
        const unsigned char* row = image.raw.data() + size_t(y) * (width * 4 + 1);
        ASSERT_EQ(row[0], 0);
        ASSERT_TRUE(std::equal(row + 1, row + 1 + width * 4, rgba.begin() + ptrdiff_t(size_t(y) * width * 4)))
            << "row " << y;
    }
}

TEST(PngEncoder, KnownChecksumsAndRefusals)
{
    const unsigned char text[] = "123456789";
    EXPECT_EQ(PngEncoder::Crc32(text, 9), 0xCBF43926u);
    EXPECT_EQ(PngEncoder::Adler32(reinterpret_cast<const unsigned char*>("Wikipedia"), 9), 0x11E60398u);
    std::vector<unsigned char> png{1, 2, 3};
    const unsigned char pixel[4] = {};
    EXPECT_FALSE(PngEncoder::Encode(pixel, 0, 1, PngEncoder::Rgb, png));
    EXPECT_TRUE(png.empty());
    EXPECT_FALSE(PngEncoder::Encode(nullptr, 1, 1, PngEncoder::Rgb, png));
    EXPECT_FALSE(PngEncoder::Encode(pixel, 1, -1, PngEncoder::Rgba, png));
}
