#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/PFont.h"
#include "platform/PSurface.h"
#include "platform/PngWriter.h"
#include "tests/common/TempFolder.h"

TEST(PSurface, RowsHoldColourReferencesAndLinesLeaveOutTheirEndPixel)
{
    PSurface surface(3, 2);
    ASSERT_EQ(surface.GetWidth(), 3);
    EXPECT_EQ(surface.GetPixel(2, 1), 0u);  // fresh surfaces are black
    surface.SetPixel(1, 1, 0x0000FF);
    EXPECT_EQ(surface.Row(1)[1], 0x0000FFu);
    EXPECT_EQ(surface.Row(1), surface.Row(0) + 3);
    EXPECT_EQ(surface.GetPixel(3, 0), InvalidColour);
    EXPECT_EQ(surface.GetPixel(-1, 0), InvalidColour);
    PSurface empty(-4, 5);
    EXPECT_EQ(empty.GetWidth(), 0);
    EXPECT_EQ(empty.GetPixels(), nullptr);
    empty.FillRect(0, 0, 5, 5, 1);
    empty.SetPixel(0, 0, 1);
    EXPECT_EQ(empty.GetPixel(0, 0), InvalidColour);

    PSurface lines(10, 10);
    lines.Line(0, 0, 5, 0, 7);
    lines.Line(9, 9, 9, 4, 7);  // upwards
    lines.Line(2, 2, 2, 2, 7);  // empty
    int set = 0;
    for (int y = 0; y < 10; y++)
        for (int x = 0; x < 10; x++)
            set += lines.GetPixel(x, y) == 7;
    EXPECT_EQ(set, 5 + 5);
    EXPECT_EQ(lines.GetPixel(5, 0), 0u);
    EXPECT_EQ(lines.GetPixel(9, 4), 0u);
    EXPECT_EQ(lines.GetPixel(9, 5), 7u);
}

TEST(PSurface, BlockTransfersClipAndRowsGoBottomUpOrTopDown)
{
    PSurface source(4, 4), target(4, 4);
    source.FillRect(0, 0, 4, 4, 0x0F);
    target.FillRect(0, 0, 4, 4, 0x3C);
    target.BitBlt(2, 2, 10, 10, source, 0, 0, RopCopy);
    EXPECT_EQ(target.GetPixel(3, 3), 0x0Fu);
    EXPECT_EQ(target.GetPixel(1, 1), 0x3Cu);
    target.BitBlt(-1, -1, 2, 2, source, 0, 0, RopAnd);
    EXPECT_EQ(target.GetPixel(0, 0), 0x0Cu);
    EXPECT_EQ(target.GetPixel(1, 0), 0x3Cu);
    target.BitBlt(0, 3, 1, 1, source, 3, 3, RopOr);
    EXPECT_EQ(target.GetPixel(0, 3), 0x3Fu);
    target.BitBlt(0, 0, 4, 4, source, 5, -9, RopCopy);  // nothing of the source there
    EXPECT_EQ(target.GetPixel(1, 1), 0x3Cu);

    // Scrolling a surface onto itself, down and up, moves rows intact.
    PSurface rows(1, 4);
    for (int y = 0; y < 4; y++)
        rows.SetPixel(0, y, uint32_t(y + 1));
    rows.BitBlt(0, 1, 1, 3, rows, 0, 0, RopCopy);
    EXPECT_EQ(rows.GetPixel(0, 1), 1u);
    EXPECT_EQ(rows.GetPixel(0, 3), 3u);
    rows.BitBlt(0, 0, 1, 3, rows, 0, 1, RopCopy);
    EXPECT_EQ(rows.GetPixel(0, 0), 1u);
    EXPECT_EQ(rows.GetPixel(0, 2), 3u);

    // Two rows of two 24-bit pixels, each row padded to 8 bytes.
    const uint8_t bits[] = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
    PSurface surface(3, 3);
    surface.PutBits(1, 1, 2, 2, bits, 24, 8, true);
    EXPECT_EQ(surface.GetPixel(1, 2), 0x010203u);  // first row in memory is the bottom one
    EXPECT_EQ(surface.GetPixel(2, 1), 0x0A0B0Cu);
    surface.PutBits(-1, 0, 2, 1, bits, 24, 8, false);
    EXPECT_EQ(surface.GetPixel(0, 0), 0x040506u);
    const uint8_t bits32[] = {1, 2, 3, 99};
    surface.PutBits(2, 2, 1, 1, bits32, 32, 4, false);
    EXPECT_EQ(surface.GetPixel(2, 2), 0x010203u);
    surface.PutBits(0, 0, 1, 1, bits32, 16, 4, false);  // unknown bit counts are ignored
    EXPECT_EQ(surface.GetPixel(0, 0), 0x040506u);
}

TEST(PSurface, TextStaysAboveItsBottomRowInEveryFont)
{
    for (bool bitmap : {false, true}) {
        PFont::UseBitmapFontOnly(bitmap);
        PFontRequest request;
        std::snprintf(request.face, sizeof request.face, "Ms Sans Serif");
        request.height = 20;
        request.underline = true;
        PFont* font = PFont::Create(request);
        PFont::UseBitmapFontOnly(false);
        EXPECT_EQ(font->GetHeight(), 20);
        PSurface surface(100, 40);
        surface.DrawText(3, 30, "g\xd1_\x80", 4, font, 0xFFFFFF);
        int top = 40, bottom = -1;
        for (int y = 0; y < 40; y++)
            for (int x = 0; x < 100; x++)
                if (surface.GetPixel(x, y)) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        EXPECT_GE(top, 10) << bitmap;
        EXPECT_LE(bottom, 29) << bitmap;
        EXPECT_GE(bottom, 26) << bitmap;
        EXPECT_GT(font->TextWidth("g\xd1_\x80", 4), 0);
        delete font;
    }
}

TEST(PngWriter, WritesSurfacesAndRefusesBadPaths)
{
    PSurface surface(4, 3);
    surface.FillRect(0, 0, 2, 3, 0x00FF00);
    std::string path =
        (std::filesystem::temp_directory_path() / ("ajustor-png-" + std::to_string(ProcessId()) + ".png")).string();
    ASSERT_EQ(WriteSurfacePng(surface, path.c_str()), 1);
    FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    unsigned char signature[8] = {};
    EXPECT_EQ(std::fread(signature, 1, 8, file), 8u);
    std::fclose(file);
    std::remove(path.c_str());
    EXPECT_EQ(signature[1], 'P');
    EXPECT_EQ(WriteSurfacePng(surface, "/nonexistent-folder/x.png"), 0);
    PSurface empty(0, 0);
    EXPECT_EQ(WriteSurfacePng(empty, path.c_str()), 0);
}
