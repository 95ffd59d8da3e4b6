#include "graphics/CCell.h"
#include "graphics/CFont.h"
#include "platform/PFont.h"
#include "tests/graphics/GraphicsFixture.h"

namespace {
constexpr uint32_t White = 0xFFFFFF;
constexpr uint32_t Red = 0x0000FF;
}  // namespace

using CanvasTest = GraphicsFixture;

TEST_F(CanvasTest, FillOutlineLineAndTextCoverTheirPixelsAndNothingOutside)
{
    // A black canvas painting in white.
    auto blank = [&](int w, int h) {
        CCanvas* canvas = Canvas(w, h, 0);
        canvas->SetColour(White);
        return canvas;
    };
    CCanvas* canvas = blank(20, 10);
    canvas->SetColourRGB(255, 0, 0);
    EXPECT_EQ(canvas->GetColour(), Red);
    canvas->FillRect(0, 0, 10, 5);
    EXPECT_EQ(CountPixels(canvas, Red), 50);
    EXPECT_EQ(Pixel(canvas, 9, 4), Red);
    EXPECT_EQ(Pixel(canvas, 10, 4), 0u);
    canvas = blank(20, 10);
    canvas->Outline(0, 0, 10, 5);
    EXPECT_EQ(CountPixels(canvas, White), 30);
    EXPECT_EQ(Pixel(canvas, 10, 5), White);
    EXPECT_EQ(Pixel(canvas, 5, 2), 0u);
    canvas = blank(20, 10);
    canvas->Line(0, 0, 5, 0);
    EXPECT_EQ(CountPixels(canvas, White), 6);
    EXPECT_EQ(Pixel(canvas, 5, 0), White);
    canvas->Line(0, 9, 9, 0);  // a diagonal, end pixel included
    for (auto [x, y] : {std::pair{9, 0}, std::pair{0, 9}, std::pair{4, 5}})
        EXPECT_EQ(Pixel(canvas, x, y), White) << x << "," << y;

    canvas = blank(4, 4);
    canvas->FillRect(-10, -10, 12, 12);
    canvas->Line(-5, 1, 100, 1);
    EXPECT_EQ(CountPixels(canvas, White), 4 + 2);

    // Text in the canvas's colour and 12-pixel font, without anti-aliasing, within the
    // 12 rows above its bottom row; the underscore or a descender reaches near it.
    canvas = blank(80, 40);
    canvas->DrawText("Ag|_", 2, 30);
    EXPECT_EQ(CountPixels(canvas, White) + CountPixels(canvas, 0), 80 * 40);
    auto whiteInRows = [&](int from, int to) {
        int n = 0;
        for (int y = from; y < to; y++)
            for (int x = 0; x < 80; x++)
                n += Pixel(canvas, x, y) == White;
        return n;
    };
    EXPECT_EQ(whiteInRows(0, 30 - 12), 0);
    EXPECT_GT(whiteInRows(26, 30), 0);
    EXPECT_EQ(whiteInRows(30, 40), 0);

    CCanvas* empty = Make<CCanvas>();
    empty->Reset();
    empty->FillRect(0, 0, 10, 10);
    empty->DrawText("abc", 0, 10);
    empty->DrawCell(canvas, 0, 0);
    canvas->DrawCell(empty, 0, 0);
    EXPECT_EQ(empty->GetSurface(), nullptr);
    EXPECT_EQ(empty->created, 0);
    canvas->DrawCell(nullptr, 0, 0);
}

TEST_F(CanvasTest, DrawModesAndMasksCombineWithTheTarget)
{
    CCanvas* source = Canvas(4, 4, 0x0F0F0F);
    CCanvas* target = Canvas(8, 8, 0x3C3C3C);
    source->DrawOn(target, 1, 1, 0, 0, 2, 2);
    EXPECT_EQ(Pixel(target, 1, 1), 0x0F0F0Fu);
    EXPECT_EQ(Pixel(target, 3, 3), 0x3C3C3Cu);
    source->drawMode = 1;
    source->DrawOn(target, 4, 4, 0, 0, 1, 1);
    EXPECT_EQ(Pixel(target, 4, 4), 0x0C0C0Cu);
    source->drawMode = 2;
    source->DrawOn(target, 5, 5, 0, 0, 1, 1);
    EXPECT_EQ(Pixel(target, 5, 5), 0x3F3F3Fu);

    // w = 0 transfers the whole canvas size even when h is given.
    target = Canvas(8, 8, 0);
    source->drawMode = 0;
    source->DrawOn(target, 0, 0, 0, 0, 0, 1);
    EXPECT_EQ(CountPixels(target, 0x0F0F0F), 16);

    CCell* cell = Make<CCell>();
    cell->Create(2, 2);
    cell->SetColour(Red);
    cell->FillRect(0, 0, 2, 2);
    auto mask = new CCanvas(app);
    cell->mask = mask;
    mask->Create(2, 2);
    mask->SetColour(0);
    mask->FillRect(0, 0, 2, 2);
    target = Canvas(4, 4, 0x00FF00);
    cell->DrawOn(target, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(CountPixels(target, Red), 4);

    // White mask over a black image: the target stays as it was.
    cell->SetColour(0);
    cell->FillRect(0, 0, 2, 2);
    mask->SetColour(White);
    mask->FillRect(0, 0, 2, 2);
    target = Canvas(4, 4, 0x00FF00);
    target->DrawCell(cell, 1, 1);
    EXPECT_EQ(CountPixels(target, 0x00FF00), 16);
}

TEST_F(CanvasTest, CreateResetAndWorkCopyEdits)
{
    CCanvas* canvas = Make<CCanvas>();
    canvas->Create(5, 6);
    EXPECT_EQ(canvas->created, 1);
    EXPECT_EQ(canvas->GetWidth(), 5);
    EXPECT_EQ(canvas->GetSurface()->GetHeight(), 6);
    CFont* first = canvas->GetFont();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->fontHandle->GetRequest().height, 12);
    canvas->drawMode = 2;
    canvas->SetWorkCopy(1);
    canvas->Create(7, 2);
    EXPECT_NE(canvas->GetFont(), nullptr);
    EXPECT_EQ(canvas->drawMode, 0u);
    EXPECT_EQ(canvas->workCopy, 0);
    canvas->Reset();
    EXPECT_EQ(canvas->created, 0);
    EXPECT_EQ(canvas->GetSurface(), nullptr);
    EXPECT_NE(canvas->GetFont(), nullptr);
    canvas->Create(-3, 4);  // a negative size makes an empty surface
    EXPECT_EQ(canvas->GetWidth(), 0);

    canvas = Canvas(3, 3, Red);
    canvas->SetWorkCopy(1);
    canvas->PutPixel(1, 1, White);
    canvas->SetWorkCopy(1);  // already on: the edit stays
    EXPECT_EQ(canvas->GetPixel(1, 1), White);
    EXPECT_EQ(canvas->GetPixel(0, 0), Red);
    EXPECT_EQ(Pixel(canvas, 1, 1), Red);
    canvas->CommitWork();
    EXPECT_EQ(Pixel(canvas, 1, 1), White);
    canvas->SetWorkCopy(0);
    EXPECT_EQ(canvas->workCopy, 0);
    EXPECT_EQ(canvas->GetPixel(1, 1), InvalidColour);
    canvas->PutPixel(0, 0, White);  // no work copy: nothing happens
    EXPECT_EQ(Pixel(canvas, 0, 0), Red);
}
