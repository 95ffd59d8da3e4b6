#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "io/CellNumber.h"

namespace {
CellNumber Read(const std::string& text) { return ReadCellNumber(text.data(), uint32_t(text.size())); }
}  // namespace

// What a student types in a cell, with a point or a comma, as a spreadsheet reads it;
// and the same text read at once as a field of a record gives the same cell.
TEST(CellNumber, NumbersWithAPointOrACommaAndBlanksAroundAnythingElseIsNoNumber)
{
    const struct { const char* text; double value; } numbers[] = {
        {"2.5", 2.5},       {"2,5", 2.5},      {" 3 ", 3},        {"\xA0" "4\r", 4}, {"-0,25", -0.25},
        {"+7", 7},          {"1,5E-3", 1.5e-3}, {"1.5e+3", 1500}, {",5", 0.5},       {"5.", 5},
        {"0012", 12},       {"1e-400", 0},     {"-2.5e3", -2500}, {"1.7976931348623157e308", 1.7976931348623157e308},
        {"0.000000000000000000000000000000000000000000000000000000000000000001e30", 1e-36},
        {"4e-320", 4e-320}, {"-0", -0.0},      {"7\t", 7},
        {"12345678901234567890123", 12345678901234567890123.0},
    };
    const char* const notNumbers[] = {"abc", "--1", "nan", "inf", "-inf", "0x10", "1e", "1e+", "1.5.2", "1.000,5",
                                      "1,5,2", "12abc", "1 000", "1e400", "-1e400", "99999e99999", ".", ",", "-",
                                      "+", "e5", "2,5 %", "\x31\xBD", "4,1x", "1 2"};
    const char* const empty[] = {"", " ", "  \r", "\xA0", "\t"};
    std::vector<std::string> texts;
    for (const auto& n : numbers) {
        CellNumber cell = Read(n.text);
        EXPECT_EQ(cell.status, CellNumber::Number) << n.text;
        EXPECT_EQ(cell.value, n.value) << n.text;
        EXPECT_EQ(std::signbit(cell.value), std::signbit(n.value)) << n.text;
        texts.push_back(n.text);
    }
    EXPECT_TRUE(std::signbit(Read("-1e-999").value));
    for (const char* text : notNumbers) {
        CellNumber cell = Read(text);
        EXPECT_EQ(cell.status, CellNumber::NotANumber) << text;
        EXPECT_EQ(cell.value, 0.0) << text;
        texts.push_back(text);
    }
    for (const char* text : empty) {
        EXPECT_EQ(Read(text).status, CellNumber::Empty) << '"' << text << '"';
        texts.push_back(text);
    }
    EXPECT_EQ(ReadCellNumber(nullptr, 0).status, CellNumber::Empty);

    for (const std::string& field : texts) {
        SCOPED_TRACE(field);
        std::string record = field + ";9;";
        CellNumber cell, expected = Read(field);
        const char* stop = ReadCellField(record.data(), record.data() + record.size(), ';', cell);
        EXPECT_EQ(stop - record.data(), long(field.size()));
        EXPECT_EQ(cell.status, expected.status);
        EXPECT_EQ(cell.value, expected.value);
        EXPECT_EQ(std::signbit(cell.value), std::signbit(expected.value));
        // A column the fit does not use is checked alike, without its value.
        EXPECT_EQ(ReadCellField(record.data(), record.data() + record.size(), ';', cell, false), stop);
        EXPECT_EQ(cell.status, expected.status);
        // The last field of a record ends at the record's end.
        EXPECT_EQ(ReadCellField(field.data(), field.data() + field.size(), ';', cell), field.data() + field.size());
        EXPECT_EQ(cell.status, expected.status);
    }
}
