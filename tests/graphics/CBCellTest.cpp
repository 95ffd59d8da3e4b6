#include "tests/graphics/GraphicsFixture.h"

namespace {
// A CEL stream: a uniform colour image and a mask whose red byte is `opacity`.
Bytes UniformCel(uint32_t w, uint32_t h, uint32_t r, uint32_t g, uint32_t b, uint32_t opacity)
{
    return UniformFis(w, h, r, g, b).Append(UniformFis(w, h, opacity, 7, 7));
}
}  // namespace

using BCellTest = GraphicsFixture;

TEST_F(BCellTest, CelOpacityMasksAndFadingBlendOverTheTarget)
{
    // The cell drawn at the corner of a 5 × 5 target of one colour.
    auto drawnOver = [&](CBCell* cell, uint32_t background) {
        CCanvas* target = Canvas(5, 5, background);
        cell->DrawOn(target, 0, 0, 0, 0, 0, 0);
        return target;
    };
    CBCell* cell = Make<CBCell>();
    ASSERT_EQ(cell->LoadCelChannels(Stream(UniformCel(3, 2, 200, 100, 50, 255))), 1);
    EXPECT_EQ(cell->HasChannels(), 1);
    EXPECT_EQ(cell->GetWidth(), 3);
    EXPECT_EQ(CountPixels(drawnOver(cell, packColour(1, 2, 3)), packColour(200, 100, 50)), 6);
    // Opacity past 1 or below 0 is clamped; the mask's 255 then scales by 255 / 256.
    const struct { float opacity; uint32_t background, expected; } rows[] = {
        {2.0f, 0, packColour(200 * 255 / 256, 100 * 255 / 256, 50 * 255 / 256)},
        {-1.0f, packColour(100, 200, 255), packColour(100 * 255 / 256, 200 * 255 / 256, 255 * 255 / 256)},
        {0.5f, 0, packColour(200 * 127 / 256, 100 * 127 / 256, 50 * 127 / 256)},
    };
    for (const auto& row : rows) {
        CCanvas* target = Canvas(2, 2, row.background);
        cell->DrawFaded(target, 0, 0, 0, 0, 0, 0, row.opacity);
        EXPECT_EQ(Pixel(target, 1, 1), row.expected) << row.opacity;
    }

    // A target editing its work copy gets the edits and the faded cell committed.
    CCanvas* target = Canvas(3, 1, 0);
    target->SetWorkCopy(1);
    target->PutPixel(2, 0, 0xFFFFFF);
    cell->DrawFaded(target, 0, 0, 0, 0, 1, 1, 1.0f);
    EXPECT_EQ(target->workCopy, 0);
    EXPECT_EQ(Pixel(target, 2, 0), 0xFFFFFFu);
    EXPECT_EQ(Pixel(target, 0, 0), packColour(200 * 255 / 256, 100 * 255 / 256, 50 * 255 / 256));
    EXPECT_EQ(Pixel(target, 1, 0), 0u);

    ASSERT_EQ(cell->LoadCelChannels(Stream(UniformCel(3, 2, 200, 100, 50, 0))), 1);
    EXPECT_EQ(CountPixels(drawnOver(cell, packColour(1, 2, 3)), packColour(1, 2, 3)), 25);
    ASSERT_EQ(cell->LoadCelChannels(Stream(UniformCel(3, 2, 200, 100, 51, 128))), 1);
    EXPECT_EQ(Pixel(drawnOver(cell, 0), 2, 1), packColour(100, 50, 25));  // c × 128 / 256, rounded down
    auto overWhite = [](uint32_t c) { return (c * 128 + 255 * 127) / 256; };
    EXPECT_EQ(Pixel(drawnOver(cell, 0xFFFFFF), 0, 0), packColour(overWhite(200), overWhite(100), overWhite(51)));

    cell = Make<CBCell>();
    ASSERT_EQ(cell->LoadCel(Stream(UniformCel(2, 2, 200, 100, 50, 128))), 1);
    EXPECT_EQ(cell->HasChannels(), 0);
    ASSERT_NE(cell->GetMask(), nullptr);
    target = drawnOver(cell, 0);
    EXPECT_EQ(Pixel(target, 1, 1), packColour(100, 50, 25));
    EXPECT_EQ(Pixel(target, 2, 2), 0u);

    cell->BuildChannels();
    EXPECT_EQ(cell->HasChannels(), 1);
    EXPECT_EQ(cell->GetMask(), nullptr);
    EXPECT_EQ(cell->alpha[3], 128u);
    EXPECT_EQ(cell->red[0], 200u);
    EXPECT_EQ(cell->blue[0], 50u);
}

TEST_F(BCellTest, PartsAndClippingStayInsideCellAndTarget)
{
    Bytes cel = Bytes().U32(3).U32(1).Bgr(10, 0, 0).Bgr(20, 0, 0).Bgr(30, 0, 0);
    cel.Append(UniformFis(3, 1, 255, 0, 0));
    CBCell* cell = Make<CBCell>();
    ASSERT_EQ(cell->LoadCelChannels(Stream(cel)), 1);
    CCanvas* target = Canvas(4, 1, 0);
    cell->DrawOn(target, 0, 0, 1, 0, 0, 1);  // w = 0: from sx to the right edge
    EXPECT_EQ(Pixel(target, 0, 0), 20u);
    EXPECT_EQ(Pixel(target, 1, 0), 30u);
    EXPECT_EQ(Pixel(target, 2, 0), 0u);
    target = Canvas(4, 1, 0);
    cell->DrawOn(target, -1, 0, 0, 0, 99, 99);
    EXPECT_EQ(Pixel(target, 0, 0), 20u);
    cell->DrawOn(target, 3, 0, -2, -5, 0, 0);
    cell->DrawOn(target, 0, 0, 7, 0, 0, 0);
    EXPECT_EQ(Pixel(target, 1, 0), 30u);
    EXPECT_EQ(Pixel(target, 3, 0), 0u);
}

TEST_F(BCellTest, ScaledKeepsUniformCellsSamplesTheFirstRowAndColumnAndAnEmptyCellIsTransparent)
{
    CBCell* cell = Make<CBCell>();
    ASSERT_EQ(cell->LoadCelChannels(Stream(UniformCel(7, 5, 90, 60, 30, 200))), 1);
    for (auto [w, h] : {std::pair{142, 42}, std::pair{1, 1}, std::pair{3, 9}}) {
        Variable scaled(cell->Scaled(w, h));
        CBCell* copy = scaled.As<CBCell>();
        ASSERT_EQ(copy->HasChannels(), 1);
        ASSERT_EQ(copy->GetWidth(), w);
        EXPECT_EQ(copy->GetSurface(), nullptr);
        for (int i = 0; i < w * h; i++)
            ASSERT_TRUE(copy->red[i] == 90 && copy->green[i] == 60 && copy->blue[i] == 30 && copy->alpha[i] == 200);
    }

    // A 4 × 4 ramp halved: the first row and column are samples, the rest smoothed.
    Bytes ramp = Bytes().U32(4).U32(4);
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 4; x++)
            ramp.Bgr(uint32_t(16 * (4 * y + x)), 0, 0);
    ramp.Append(UniformFis(4, 4, 255, 0, 0));
    ASSERT_EQ(cell->LoadCelChannels(Stream(ramp)), 1);
    Variable scaled(cell->Scaled(2, 2));
    CBCell* half = scaled.As<CBCell>();
    EXPECT_EQ(half->red[0], 0u);        // source (0, 0)
    EXPECT_EQ(half->red[1], 16u * 2);   // source (2, 0)
    EXPECT_EQ(half->red[2], 16u * 8);   // source (0, 2)
    // Grid (2, 2) and its neighbours are source pixels 1..3 in each direction.
    uint32_t expected = (16 * (5 + 2 * 6 + 7 + 2 * 9 + 4 * 10 + 2 * 11 + 13 + 2 * 14 + 15)) / 16;
    EXPECT_EQ(half->red[3], expected);

    cell = Make<CBCell>();
    cell->ResetCell();
    scaled = cell->Scaled(4, 4);
    CBCell* copy = scaled.As<CBCell>();
    EXPECT_EQ(copy->alpha[15], 0u);
    Variable none(cell->Scaled(0, -1));
    EXPECT_EQ(none.As<CBCell>()->HasChannels(), 0);
}

