#include "graphics/ImageReaders.h"
#include "tests/graphics/GraphicsFixture.h"

namespace {
// A BMP with the two headers and `rows` as its data (bottom row first).
Bytes Bmp(int32_t w, int32_t h, uint16_t bits, const Bytes& palette, const Bytes& rows, uint32_t coloursUsed = 0)
{
    uint32_t offset = 54 + uint32_t(palette.data.size());
    Bytes b;
    b.U8('B').U8('M').U32(offset + uint32_t(rows.data.size())).U32(0).U32(offset);
    b.U32(40).U32(uint32_t(w)).U32(uint32_t(h)).U16(1).U16(bits).U32(0).U32(uint32_t(rows.data.size()));
    b.U32(2835).U32(2835).U32(coloursUsed).U32(0);
    return b.Append(palette).Append(rows);
}

Bytes GreyPalette()
{
    Bytes p;
    for (uint32_t i = 0; i < 256; i++)
        p.U8(i).U8(i).U8(i).U8(0);
    return p;
}
}  // namespace

using ReadersTest = GraphicsFixture;

TEST_F(ReadersTest, EachFormatReadsItsRows)
{
    // FIS, the plain rows of 24-bit pixels, is read by every cell test.
    Bytes ies = Bytes().U32(2).U32(1);
    for (uint32_t i = 0; i < 256; i++)
        ies.Bgr(i, 255 - i, 7);
    ies.U8(3).U8(250);
    CCanvas* canvas = Make<CCanvas>();
    ASSERT_EQ(LoadIes(canvas, Stream(ies)), 1);
    EXPECT_EQ(Pixel(canvas, 0, 0), packColour(3, 252, 7));
    EXPECT_EQ(Pixel(canvas, 1, 0), packColour(250, 5, 7));
    EXPECT_EQ(canvas->workCopy, 0);

    Bytes fcr = Bytes().U32(3).U32(2);
    fcr.Bgr(1, 0, 0).U16(0);  // one pixel
    fcr.Bgr(2, 0, 0).U16(3);  // (1,0) (2,0) then wraps to (0,1)
    fcr.Bgr(3, 0, 0).U16(9);  // the rest, running past the last row
    fcr.Bgr(4, 0, 0).U16(1);  // never read: the image is full
    canvas = Make<CCanvas>();
    ASSERT_EQ(LoadFcr(canvas, Stream(fcr)), 1);
    EXPECT_EQ(Pixel(canvas, 0, 0), 1u);
    EXPECT_EQ(Pixel(canvas, 2, 0), 2u);
    EXPECT_EQ(Pixel(canvas, 0, 1), 2u);
    EXPECT_EQ(Pixel(canvas, 1, 1), 3u);
    EXPECT_EQ(Pixel(canvas, 2, 1), 3u);

    // 8-bit, width 3: rows of 3 indices and 1 byte of padding; bottom row first.
    Bytes rows8 = Bytes().U8(10).U8(11).U8(12).U8(0xEE).U8(20).U8(21).U8(22).U8(0xEE);
    canvas = Make<CCanvas>();
    ASSERT_EQ(LoadBmp(canvas, Stream(Bmp(3, 2, 8, GreyPalette(), rows8))), 1);
    EXPECT_EQ(Pixel(canvas, 0, 1), packColour(10, 10, 10));
    EXPECT_EQ(Pixel(canvas, 2, 0), packColour(22, 22, 22));

    // 24-bit, width 3: 9 bytes and 3 of padding per row.
    Bytes rows24;
    for (uint32_t row = 0; row < 2; row++) {
        for (uint32_t x = 0; x < 3; x++)
            rows24.Bgr(100 + 10 * row + x, 1, 2);
        rows24.U8(0xEE).U8(0xEE).U8(0xEE);
    }
    ASSERT_EQ(LoadBmp(canvas, Stream(Bmp(3, 2, 24, Bytes(), rows24))), 1);
    EXPECT_EQ(Pixel(canvas, 0, 1), packColour(100, 1, 2));
    EXPECT_EQ(Pixel(canvas, 2, 0), packColour(112, 1, 2));

    Bytes rows32 = Bytes().Bgr(5, 6, 7).U8(0).Bgr(8, 9, 10).U8(0);
    ASSERT_EQ(LoadBmp(canvas, Stream(Bmp(1, -2, 32, Bytes(), rows32))), 1);  // top-down
    EXPECT_EQ(Pixel(canvas, 0, 0), packColour(5, 6, 7));
    EXPECT_EQ(Pixel(canvas, 0, 1), packColour(8, 9, 10));
}

TEST_F(ReadersTest, LoadChoosesByExtensionInAnyCase)
{
    Bytes cel = UniformFis(2, 2, 9, 8, 7).Append(UniformFis(2, 2, 255, 0, 0));
    CBCell* cell = Make<CBCell>();
    ASSERT_EQ(cell->Load(File("icon.Cel", cel).c_str()), 1);
    EXPECT_EQ(cell->HasChannels(), 1);
    EXPECT_EQ(cell->GetMask(), nullptr);
    EXPECT_EQ(cell->red[0], 9u);

    ASSERT_EQ(cell->Load(File("plain.fis", UniformFis(3, 1, 1, 2, 3)).c_str()), 1);
    EXPECT_EQ(cell->HasChannels(), 0);
    ASSERT_NE(cell->GetMask(), nullptr);
    EXPECT_EQ(Pixel(cell->GetMask(), 2, 0), 0xFFFFFFu);
    CCanvas* target = Canvas(3, 1, 0);
    target->DrawCell(cell, 0, 0);
    EXPECT_EQ(Pixel(target, 1, 0), packColour(1, 2, 3));

    CCanvas* canvas = Make<CCanvas>();
    EXPECT_EQ(canvas->Load(File("noextension", UniformFis(1, 1, 1, 1, 1)).c_str()), 0);
    EXPECT_EQ(canvas->Load(File("other.png", UniformFis(1, 1, 1, 1, 1)).c_str()), 0);
    EXPECT_EQ(canvas->Load((folder + "/missing.fis").c_str()), 0);
    EXPECT_EQ(canvas->created, 0);
    EXPECT_EQ(canvas->Load(File("a.FIS", UniformFis(1, 1, 1, 1, 1)).c_str()), 1);
    EXPECT_EQ(canvas->Load(File("b.cel", cel).c_str()), 0);  // cells only
    Bytes bmpCel = Bmp(1, 1, 24, Bytes(), Bytes().Bgr(4, 5, 6).U8(0)).Append(Bmp(1, 1, 24, Bytes(), Bytes().Bgr(99, 0, 0).U8(0)));
    ASSERT_EQ(cell->Load(File("c.bmpcel", bmpCel).c_str()), 1);
    EXPECT_EQ(cell->alpha[0], 99u);
    EXPECT_EQ(cell->green[0], 5u);
}

TEST_F(ReadersTest, MalformedHeadersAndBitmapsLoadNothing)
{
    CCanvas* canvas = Make<CCanvas>();
    // Sizes the stream cannot hold, and sizes whose product overflows 32 bits.
    EXPECT_EQ(LoadFis(canvas, Stream(Bytes().U32(100000).U32(100000).U32(0))), 0);
    EXPECT_EQ(LoadFis(canvas, Stream(Bytes().U32(0x10000).U32(0x10001).Bgr(1, 1, 1))), 0);
    EXPECT_EQ(LoadFis(canvas, Stream(Bytes().U32(4).U32(4).Bgr(1, 1, 1))), 0);  // truncated
    EXPECT_EQ(LoadFis(canvas, Stream(Bytes().U32(4))), 0);
    EXPECT_EQ(LoadIes(canvas, Stream(Bytes().U32(2).U32(2).U8(1))), 0);
    EXPECT_EQ(LoadFcr(canvas, Stream(Bytes().U32(30000).U32(30000).Bgr(1, 1, 1).U16(0))), 0);
    EXPECT_EQ(canvas->created, 0);
    Bytes huge = Bytes().U32(0xFFFFFFFF).U32(0xFFFFFFFF).Bgr(1, 1, 1).U16(0);
    EXPECT_EQ(LoadFcr(canvas, Stream(huge)), 0);

    CBCell* cell = Make<CBCell>();
    EXPECT_EQ(cell->LoadCelChannels(Stream(Bytes().U32(5000).U32(5000).U32(1))), 0);
    EXPECT_EQ(cell->LoadCelChannels(Stream(UniformFis(2, 2, 1, 1, 1))), 0);  // mask missing
    EXPECT_EQ(cell->HasChannels(), 0);

    // Empty images are read as empty canvases.
    EXPECT_EQ(LoadFis(canvas, Stream(Bytes().U32(0).U32(7))), 1);
    EXPECT_EQ(canvas->GetWidth(), 0);

    canvas = Canvas(1, 1, 0x123456);
    Bytes row = Bytes().Bgr(1, 2, 3).U8(0);
    EXPECT_EQ(LoadBmp(canvas, Stream(Bytes().U8('B').U8('X').Append(Bmp(1, 1, 24, Bytes(), row)))), 0);
    Bytes notBm = Bmp(1, 1, 24, Bytes(), row);
    notBm.data[1] = 'A';
    EXPECT_EQ(LoadBmp(canvas, Stream(notBm)), 0);
    EXPECT_EQ(LoadBmp(canvas, Stream(Bmp(-1, 1, 24, Bytes(), row))), 0);
    EXPECT_EQ(LoadBmp(canvas, Stream(Bmp(1, INT32_MIN, 24, Bytes(), row))), 0);
    EXPECT_EQ(LoadBmp(canvas, Stream(Bmp(0x7FFFFFFF, 1, 24, Bytes(), row))), 0);
    EXPECT_EQ(LoadBmp(canvas, Stream(Bmp(1, 1, 16, Bytes(), row))), 0);
    EXPECT_EQ(LoadBmp(canvas, Stream(Bmp(1000, 1000, 24, Bytes(), row))), 0);  // truncated
    EXPECT_EQ(LoadBmp(canvas, Stream(Bmp(1, 1, 8, Bytes().U32(0), Bytes().U8(0).U8(0).U8(0).U8(0)))), 0);
    Bytes headerOnly = Bmp(1, 1, 24, Bytes(), row);
    headerOnly.data.resize(30);
    EXPECT_EQ(LoadBmp(canvas, Stream(headerOnly)), 0);
    EXPECT_EQ(canvas->GetWidth(), 1);
    EXPECT_EQ(Pixel(canvas, 0, 0), 0x123456u);  // left as it was

    // A short palette: indices past its end are black.
    Bytes palette = Bytes().U8(9).U8(8).U8(7).U8(0).U8(6).U8(5).U8(4).U8(0);
    ASSERT_EQ(LoadBmp(canvas, Stream(Bmp(3, 1, 8, palette, Bytes().U8(1).U8(0).U8(200).U8(0), 2))), 1);
    EXPECT_EQ(Pixel(canvas, 0, 0), packColour(4, 5, 6));
    EXPECT_EQ(Pixel(canvas, 1, 0), packColour(7, 8, 9));
    EXPECT_EQ(Pixel(canvas, 2, 0), 0u);
}

