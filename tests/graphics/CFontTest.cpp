#include <cstring>
#include <tuple>

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
    // A null description is the default font.
    struct Row { const char* description; const char* face; int height, weight; bool italic, underline; };
    const Row rows[] = {
        {nullptr, "Ms Sans Serif", 12, 0, false, false},
        {"B-Ms Sans Serif:12", "Ms Sans Serif", 12, 700, false, false},
        {"U-I-Ms Sans Serif:12", "Ms Sans Serif", 12, 0, true, true},
        {"I-B-Arial:20px", "Arial", 20, 700, true, false},
        {"Ms Sans Serif", "Ms Sans Serif", 0, 0, false, false},  // no size: the face's default
        {"Ms Sans Serif:0", "Ms Sans Serif", 12, 0, false, false},
        {"Ms Sans Serif:x", "Ms Sans Serif", 12, 0, false, false},
        {"Ms Sans Serif:", "Ms Sans Serif", 12, 0, false, false},
    };
    CFont* font = Make<CFont>();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.description ? row.description : "default");
        row.description ? font->Set(row.description) : font->SetDefault();
        const PFontRequest& request = RequestOf(font);
        EXPECT_EQ(font->created, 1);
        EXPECT_STREQ(request.face, row.face);
        EXPECT_EQ(std::tie(request.height, request.weight, request.italic, request.underline),
                  std::tie(row.height, row.weight, row.italic, row.underline));
        EXPECT_GT(font->TextHeight("N|_"), 0);
    }
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
