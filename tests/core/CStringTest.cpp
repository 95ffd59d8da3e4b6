#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/CList.h"
#include "core/CString.h"
#include "core/NumberText.h"
#include "tests/core/AppFixture.h"

namespace {
class StringTest : public AppFixture {
protected:
    CString* Make(const char* text)
    {
        auto* s = new CString(app);
        s->SetText(text);
        held.emplace_back(s);
        return s;
    }
    static std::string Text(CString* s) { return std::string(s->GetBuffer(), s->GetLength()); }
    static std::string Text(const Variable& v) { return Text(v.As<CString>()); }
    std::vector<Variable> held;
};
}  // namespace

TEST_F(StringTest, EachOperationFollowsItsCapacityRule)
{
    EXPECT_EQ(Make("")->GetCapacity(), 32u);
    EXPECT_EQ(Make("0123456789abcdef")->GetCapacity(), 48u);
    EXPECT_EQ(Make("0123456789abcde")->GetCapacity(), 32u);
    CString* s = Make("");
    s->Create();
    EXPECT_EQ(s->GetCapacity(), 256u);
    EXPECT_EQ(s->GetLength(), 0u);
    s->Reserve(3);
    EXPECT_EQ(s->GetCapacity(), 8u);
    s->SetNumber(1.5, 32);
    EXPECT_EQ(s->GetCapacity(), 70u);
    s->SetString(Make("abc"));
    EXPECT_EQ(s->GetCapacity(), 35u);
    EXPECT_EQ(Text(s), "abc");
    s->AppendChar('d');  // capacity 35 is enough: no growth
    EXPECT_EQ(s->GetCapacity(), 35u);
    CString* t = Make("abcd");
    t->AppendText("0123456789012345678901234567");  // 28 more: 32 - 4 <= 28 grows by 28 + 32
    EXPECT_EQ(t->GetCapacity(), 92u);

    CString* own = Make("hello world");
    own->SetText(own->GetBuffer() + 6, 5);  // from its own bytes
    EXPECT_EQ(Text(own), "world");
    own->SetText("a much longer text than the block held before");
    EXPECT_EQ(own->GetCapacity(), 64u);
    own->SetText("x");
    EXPECT_EQ(own->GetCapacity(), 32u);
    own->AppendText("0123456789012345678901234567890123456789");
    EXPECT_EQ(Text(own), "x0123456789012345678901234567890123456789");
}

TEST_F(StringTest, EditsKeepTheTextOfAnyBytesAndClampPositions)
{
    CString* s = Make("ab");
    std::string expected = "ab";
    for (int i = 0; i < 300; i++) {
        char c = static_cast<char>('a' + i % 26);
        s->AppendChar(c);
        expected += c;
        if (i % 7 == 0) {
            s->InsertChar(1, 'X');
            expected.insert(expected.begin() + 1, 'X');
        }
        if (i % 11 == 0) {
            s->AppendText("--");
            expected += "--";
        }
        ASSERT_LE(s->GetLength(), s->GetCapacity());
    }
    EXPECT_EQ(Text(s), expected);
    EXPECT_STREQ(s->CStr(), expected.c_str());

    std::string bytes;
    for (int i = 0; i < 256; i++)
        bytes += static_cast<char>(i);
    CString* b = Make("");
    b->SetText(bytes.data(), static_cast<uint32_t>(bytes.size()));
    b->AppendText(bytes.data(), static_cast<uint32_t>(bytes.size()));
    EXPECT_EQ(Text(b), bytes + bytes);
    EXPECT_EQ(Make("")->Compare(b), -1);
    Make("")->SetString(b);
    EXPECT_EQ(held.back().As<CString>()->Compare(b), 0);

    CString* self = Make("abc");
    self->AppendString(self);  // uses the original text
    EXPECT_EQ(Text(self), "abcabc");
    self->InsertString(1, self);
    EXPECT_EQ(Text(self), "aabcabcbcabc");
    self->InsertString(100, Make("Z"));
    EXPECT_EQ(Text(self), "aabcabcbcabcZ");

    CString* d = Make("abc");
    d->DeleteChar(10);
    EXPECT_EQ(Text(d), "ab");
    d->DeleteChar(0);
    EXPECT_EQ(Text(d), "b");
    CString* r = Make("abcdef");
    r->DeleteRange(4, 1);
    EXPECT_EQ(Text(r), "aef");
    r->DeleteRange(1, 99);  // beyond the text: only what exists goes
    EXPECT_EQ(Text(r), "a");
    CString* e = Make("");
    e->DeleteChar(0);
    e->DeleteRange(0, 5);
    EXPECT_EQ(e->GetLength(), 0u);

    CString* upper = Make("a\xf1z{1");
    upper->ToUpper();  // only ASCII letters change
    EXPECT_EQ(Text(upper), "A\xf1Z{1");

    auto* loose = new CString(app);  // an argument without references is deleted after use
    loose->SetText("y");
    upper->AppendString(loose);
    EXPECT_EQ(app->IsAlive(loose), 0);
    EXPECT_EQ(Text(upper), "A\xf1Z{1y");
}

TEST_F(StringTest, NumbersAreWrittenWithTheGeneralFormatAndReadLikeScanf)
{
    // Both writers give the C library's %.*G text, however many digits are asked for.
    const double inf = std::numeric_limits<double>::infinity();
    CString* s = Make("");
    char expected[300];
    for (double v : {123.0, 2.5, 1e40, 1e20, 0.1, inf, -inf, 0.000012345, -1.0 / 3.0}) {
        for (int digits : {8, 32, 200}) {
            std::snprintf(expected, sizeof expected, "%.*G", digits, v);
            s->SetNumber(v, digits);
            EXPECT_EQ(Text(s), expected) << digits;
            CString* grown = Make("");  // from the smallest block
            grown->FormatNumber(v, digits);
            EXPECT_EQ(Text(grown), expected) << digits;
        }
    }
    for (double v : {0.1, 1.0 / 3.0, 6.02214076e23, -1.602176634e-19, 123456789.125, 5e-324}) {
        s->SetNumber(v, 32);
        EXPECT_EQ(s->ToNumber(), v) << Text(s);  // 32 digits round-trip
    }

    struct Read { const char* text; double value; };
    for (const Read& row : std::vector<Read>{{"  -2.5e3xyz", -2500}, {"abc", 0},  {"", 0},     {"3,5", 3},
                                             {"12abc", 12},          {".5", 0.5}, {"+7.", 7},  {"1e", 1},
                                             {"1e+", 1},             {"0x10", 0}, {"inf", 0},  {"-", 0},
                                             {".", 0},               {"1e999", inf}}) {
        EXPECT_EQ(Make(row.text)->ToNumber(), row.value) << row.text;
    }
    EXPECT_EQ((new CString(app))->ToNumber(), 0.0);
    std::string longNumber = "0." + std::string(500, '0') + "25";  // longer than any stack buffer
    EXPECT_EQ(Make(longNumber.c_str())->ToNumber(), 0.0);
    longNumber = std::string(300, '1');
    EXPECT_NEAR(Make(longNumber.c_str())->ToNumber() / 1.1111111111111111e299, 1.0, 1e-15);
}

// The quick reading takes only what it reads exactly, to from_chars's value; the rest it
// leaves (null) to the full conversion.
TEST(ShortDecimal, ReadsExactlyWhatItTakesAndLeavesTheRest)
{
    auto read = [](const std::string& text, bool comma, double& value) {
        const char* end = ReadShortDecimal(text.data(), text.data() + text.size(), comma, value);
        return end ? static_cast<long>(end - text.data()) : -1L;
    };
    double v = 0;
    const struct {
        const char* text;
        bool comma;
        long used;
        double value;
    } cases[] = {
        {"20.001", false, 6, 20.001}, {"-0", false, 2, -0.0},     {"+7e2 x", false, 4, 700},
        {"1,5;", true, 3, 1.5},       {"1,5", false, 1, 1},       {"0.06\n", false, 4, 0.06},
        {"1e-22", false, 5, 1e-22},   {"9007199254740992", false, 16, 9007199254740992.0},
        {"1.", false, -1, 0},         {".5", false, -1, 0},       {"1e", false, -1, 0},
        {"1e+", false, -1, 0},        {"1e23", false, -1, 0},     {"9007199254740993", false, -1, 0},
        {"12345678901234567890", false, -1, 0}, {"inf", false, -1, 0}, {"", false, -1, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(read(c.text, c.comma, v), c.used) << c.text;
        if (c.used >= 0) {
            EXPECT_EQ(v, c.value) << c.text;
            EXPECT_EQ(std::signbit(v), std::signbit(c.value)) << c.text;
        }
    }
    // Lab-like numbers of every length: the same double as from_chars, or left alone.
    std::mt19937_64 random(21);
    int taken = 0;
    for (int i = 0; i < 200000; i++) {
        char text[64];
        double source = std::ldexp(double(random() >> 11), int(random() % 80) - 90);
        int n = std::snprintf(text, sizeof text, random() % 2 ? "%.*f" : "%.*e", int(random() % 18), source);
        double expected = 0;
        std::from_chars(text, text + n, expected);
        if (read(text, false, v) == n) {
            taken++;
            ASSERT_EQ(v, expected) << text;
        }
    }
    EXPECT_GT(taken, 50000);
}

TEST_F(StringTest, CompareReturnsTheByteDifferenceOrTheLengthOrder)
{
    struct Row { const char* a; const char* b; int result; };
    for (const Row& row : std::vector<Row>{{"abc", "abd", -1}, {"abcd", "abc", 1}, {"abc", "abcd", -1},
                                           {"abc", "abc", 0},  {"b", "abc", 1},    {"\xf1", "a", 0xf1 - 'a'}})
        EXPECT_EQ(Make(row.a)->Compare(Make(row.b)), row.result) << row.a << " " << row.b;
    EXPECT_EQ(Make("")->Equals(""), 1);
    EXPECT_EQ(Make("ab")->Equals("abc"), 0);
}

TEST_F(StringTest, PiecesClampTheirRangeAndAreHandedOverUnreferenced)
{
    CString* s = Make("abcdef");
    Variable a(s->Substring(3, 3));
    EXPECT_EQ(Text(a), "def");
    EXPECT_EQ(a.Get()->GetReferenceCount(), 1);
    EXPECT_EQ(a.Get()->IsProtected(), 0);
    EXPECT_EQ(Text(Variable(s->Substring(9, 2))), "ab");
    Variable c(s->Substring(1, 4));
    EXPECT_EQ(Text(c), "bcd");
    EXPECT_EQ(c.As<CString>()->GetCapacity(), 4u);

    EXPECT_EQ(Text(Variable(Make("skin.cel")->GetExtension())), "cel");
    EXPECT_EQ(Text(Variable(Make("a.b.BMP")->GetExtension())), "BMP");
    EXPECT_EQ(Text(Variable(Make("file.")->GetExtension())), "file.");
    for (const char* none : {".cel", "noextension", "x"})
        EXPECT_EQ(Make(none)->GetExtension(), nullptr) << none;

    auto pieces = [&](const char* text) {
        Variable list(Make(text)->Split(';'));
        std::vector<std::string> out;
        auto* l = list.As<CList>();
        for (uint32_t i = 0; i < l->GetCount(); i++) {
            auto* piece = static_cast<CString*>(l->GetAt(i));
            EXPECT_EQ(piece->GetReferenceCount(), 1);
            out.push_back(Text(piece));
        }
        return out;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(pieces("1;2;3"), (V{"1", "2", "3"}));
    EXPECT_EQ(pieces("1;2;3;"), (V{"1", "2", "3"}));
    EXPECT_EQ(pieces(";;;;"), (V{"", "", "", ""}));
    EXPECT_EQ(pieces(";a"), (V{"", "a"}));
    EXPECT_EQ(pieces(""), V{});
    EXPECT_EQ(pieces("whole"), V{"whole"});
    size_t before = app->GetObjectCount();
    pieces("a;b;c");
    EXPECT_EQ(app->GetObjectCount(), before + 1);  // only the split text stays
}

TEST(NumberFormat, MatchesTheCLibraryGeneralConversion)
{
    std::mt19937_64 random(11);
    std::vector<double> values = {0.0, -0.0, 1.0, -1.0, 0.5, 2.5, 0.125, 1e-5, 1e-4, 9.9999e-5, 123456,
                                  1e15, 1e16, 1e17, 1e31, 1e32, 1e33, 9.5, 0.95, 99.5, 1e300, 5e-324,
                                  1.7976931348623157e308, 0.1, 0.3, 2.0 / 3.0, 1e-310};
    for (int i = 0; i < 20000; i++) {
        uint64_t bits = random();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        if (std::isfinite(v))
            values.push_back(v);
        values.push_back(static_cast<double>(static_cast<int64_t>(random() % 2000001) - 1000000) / 1000.0);
    }
    char ours[600], theirs[600];
    for (double v : values) {
        for (int digits : {1, 2, 6, 8, 15, 17, 32, 40, 200}) {
            FormatGeneral(v, digits, ours, sizeof ours);
            std::snprintf(theirs, sizeof theirs, "%.*G", digits, v);
            ASSERT_STREQ(ours, theirs) << digits;
        }
    }
    for (double v : {std::nan(""), -std::nan(""), std::numeric_limits<double>::infinity()}) {
        FormatGeneral(v, 32, ours, sizeof ours);
        std::snprintf(theirs, sizeof theirs, "%.*G", 32, v);
#ifdef _WIN32
        // MinGW's printf drops the sign of a NaN; ours keeps it, as glibc's does.
        if (std::isnan(v) && std::signbit(v)) {
            EXPECT_STREQ(ours, "-NAN");
            continue;
        }
#endif
        EXPECT_STREQ(ours, theirs);
    }
    FormatGeneral(1.0 / 3.0, 32, ours, 5);  // truncated to the room, like snprintf
    EXPECT_STREQ(ours, "0.33");
}
