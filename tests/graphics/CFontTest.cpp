#include <cstring>

#include "core/CString.h"
#include "graphics/CFont.h"
#include "platform/PFont.h"
#include "tests/graphics/GraphicsFixture.h"

using FontTest = GraphicsFixture;

namespace {
const PFontRequest& RequestOf(CFont* font) { return font->fontHandle->GetRequest(); }
}  // namespace

TEST_F(FontTest, DescriptionsGiveFaceSizeAndStyle)
{
    CFont* font = Make<CFont>();
    font->SetDefault();
    EXPECT_EQ(font->created, 1);
    EXPECT_STREQ(RequestOf(font).face, "Ms Sans Serif");
    EXPECT_EQ(RequestOf(font).height, 12);
    EXPECT_EQ(RequestOf(font).weight, 0);
    EXPECT_FALSE(RequestOf(font).italic || RequestOf(font).underline);

    font->Set("B-Ms Sans Serif:12");
    EXPECT_EQ(RequestOf(font).weight, 700);
    EXPECT_STREQ(RequestOf(font).face, "Ms Sans Serif");

    font->Set("U-I-Ms Sans Serif:12");
    EXPECT_TRUE(RequestOf(font).italic);
    EXPECT_TRUE(RequestOf(font).underline);
    EXPECT_EQ(RequestOf(font).weight, 0);

    font->Set("I-B-Arial:20px");
    EXPECT_STREQ(RequestOf(font).face, "Arial");
    EXPECT_EQ(RequestOf(font).height, 20);
    EXPECT_EQ(RequestOf(font).weight, 700);

    font = Make<CFont>();
    font->Set("Ms Sans Serif");
    EXPECT_EQ(RequestOf(font).height, 0);
    EXPECT_GT(font->TextHeight("N|_"), 0);  // the default size still measures
    font->Set("Ms Sans Serif:0");
    EXPECT_EQ(RequestOf(font).height, 12);
    font->Set("Ms Sans Serif:x");
    EXPECT_EQ(RequestOf(font).height, 12);
    font->Set("Ms Sans Serif:");
    EXPECT_EQ(RequestOf(font).height, 12);
    font->Set("Ms Sans Serif:99999999");  // absurd sizes are capped, not rendered
    EXPECT_EQ(font->TextHeight("N"), 1024);
    EXPECT_GT(font->TextWidth("N"), 0);
    font->Set("");
    EXPECT_EQ(font->created, 1);
    font->Set(nullptr);
    EXPECT_EQ(font->created, 1);
}

TEST_F(FontTest, MeasuresCellsAndMissingTextAndSettingAgainReplacesTheNativeFont)
{
    CFont* font = Make<CFont>();
    font->Set("Ms Sans Serif:16");
    EXPECT_EQ(font->TextHeight("N|_"), 16);
    EXPECT_EQ(font->TextHeight("x", 1), 16);
    EXPECT_EQ(font->TextWidth(static_cast<const char*>(nullptr)), font->TextWidth("|_"));
    EXPECT_GT(font->TextWidth("|_"), 0);
    EXPECT_EQ(font->TextWidth("abc", 2), font->TextWidth("ab"));
    EXPECT_EQ(font->TextWidth(""), 0);
    auto text = new CString(app);  // count 0: measuring holds and then releases it
    text->SetText("ab");
    EXPECT_EQ(font->TextWidth(text), font->TextWidth("ab"));
    if (font->fontHandle->IsBitmapFallback())
        GTEST_SKIP() << "the built-in bitmap font is monospaced: no system faces in this build";
    EXPECT_GT(font->TextWidth("WWW"), font->TextWidth("iii"));

    font = Make<CFont>();
    font->Set("Ms Sans Serif:12");
    font->Set("Ms Sans Serif:30");
    EXPECT_EQ(font->TextHeight("N"), 30);
    font->Destroy();
    EXPECT_EQ(font->created, 0);
    EXPECT_EQ(font->fontHandle, nullptr);
    EXPECT_GT(font->TextHeight("N"), 0);  // measured with the default font
}

TEST_F(FontTest, BitmapFallbackDrawsLegibleText)
{
    PFont::UseBitmapFontOnly(true);
    CFont* font = Make<CFont>();
    font->Set("Ms Sans Serif:12");
    PFont::UseBitmapFontOnly(false);
    ASSERT_TRUE(font->fontHandle->IsBitmapFallback());
    EXPECT_EQ(font->TextHeight("N"), 12);
    EXPECT_EQ(font->TextWidth("Hola"), 24);
    PSurface surface(40, 20);
    font->fontHandle->Draw(surface, 0, 15, "H\xe1", 2, 0xFFFFFF);  // accented letters draw their base letter
    int set = 0, below = 0;
    for (int y = 0; y < 20; y++)
        for (int x = 0; x < 40; x++)
            if (surface.GetPixel(x, y)) {
                set++;
                below += y >= 15;
            }
    EXPECT_GT(set, 20);
    EXPECT_EQ(below, 0);
}
