#include <gtest/gtest.h>

#include <string>

#include "platform/PCodePage.h"

using namespace platform;

TEST(CodePage, TextRoundTripsThroughUtf8AndTheRestBecomesTheStandIn)
{
    std::string text = "medici\xf3n \x80 se\xf1" "al \x93" "a\x94";
    std::string utf8 = Cp1252ToUtf8(text);
    EXPECT_EQ(utf8, "medici\xc3\xb3n \xe2\x82\xac se\xc3\xb1" "al \xe2\x80\x9c" "a\xe2\x80\x9d");
    EXPECT_EQ(Utf8ToCp1252(utf8), text);
    EXPECT_EQ(Cp1252ToLatin1("\x80\xf1"), "?\xf1");

    const std::string standIn(1, char(StandInByte));
    EXPECT_EQ(Utf8ToCp1252("\xe6\x97\xa5.dat"), standIn + ".dat");       // a CJK character
    EXPECT_EQ(Utf8ToCp1252("a\xff" "b"), "a" + standIn + "b");           // not UTF-8
    EXPECT_EQ(Utf8ToCp1252("\xc3"), standIn);                             // cut short
    EXPECT_EQ(Utf8ToCp1252("\xc0\xaf"), standIn);                         // overlong "/"
    EXPECT_EQ(Utf8ToCp1252("\xed\xa0\x80"), standIn);                     // a surrogate
    EXPECT_EQ(Cp1252ToUnicode(StandInByte), 0xFFFDu);
    EXPECT_EQ(UnicodeToCp1252(0xFFFD), uint32_t(StandInByte));
    EXPECT_EQ(UnicodeToCp1252(0x4E00), 0u);
}

// What the code page cannot hold, or what is not UTF-8 at all, becomes the stand-in
// byte, which shows as U+FFFD and round-trips as such.
// A name shown with a stand-in cannot be turned back: whatever it stood for is unknown,
// and "?" or any other guess could name another file.
TEST(CodePage, FileNamesConvertBothWaysButNeverGuess)
{
    std::string name;
    ASSERT_TRUE(FileNameFromText("/datos/se\xf1" "al.dat", name));
    EXPECT_EQ(name, "/datos/se\xc3\xb1" "al.dat");
    EXPECT_EQ(TextFromFileName(name), "/datos/se\xf1" "al.dat");
    std::string shown = TextFromFileName("\xe6\x97\xa5.dat");
    name = "unchanged";
    EXPECT_FALSE(FileNameFromText(shown, name));
    EXPECT_EQ(name, "unchanged");
    EXPECT_FALSE(FileNameFromText(std::string("a\x9d"), name));  // any undefined byte
}
