#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "io/CellNumber.h"

namespace {
CellNumber Read(const std::string& text) { return ReadCellNumber(text.data(), uint32_t(text.size())); }
}  // namespace

// What a student types in a cell, with a point or a comma, as a spreadsheet reads it.
TEST(CellNumber, NumbersWithAPointOrACommaAndBlanksAroundAnythingElseIsNoNumber)
{
    const struct {
        const char* text;
        double value;
    } numbers[] = {
        {"2.5", 2.5},       {"2,5", 2.5},      {" 3 ", 3},        {"\xA0" "4\r", 4}, {"-0,25", -0.25},
        {"+7", 7},          {"1,5E-3", 1.5e-3}, {"1.5e+3", 1500}, {",5", 0.5},       {"5.", 5},
        {"0012", 12},       {"1e-400", 0},     {"-2.5e3", -2500}, {"1.7976931348623157e308", 1.7976931348623157e308},
        {"0.000000000000000000000000000000000000000000000000000000000000000001e30", 1e-36},
        {"4e-320", 4e-320},
    };
    for (const auto& n : numbers) {
        CellNumber cell = Read(n.text);
        EXPECT_EQ(cell.status, CellNumber::Number) << n.text;
        EXPECT_EQ(cell.value, n.value) << n.text;
    }
    EXPECT_EQ(Read("2,5").value, Read("2.5").value);
    EXPECT_TRUE(std::signbit(Read("-1e-999").value));

    for (const char* text : {"abc", "--1", "nan", "inf", "-inf", "0x10", "1e", "1e+", "1.5.2", "1.000,5", "1,5,2",
                             "12abc", "1 000", "1e400", "-1e400", "99999e99999", ".", ",", "-", "+", "e5", "1;2",
                             "2,5 %", "\x31\xBD"}) {
        CellNumber cell = Read(text);
        EXPECT_EQ(cell.status, CellNumber::NotANumber) << text;
        EXPECT_EQ(cell.value, 0.0) << text;
    }
    for (const char* text : {"", " ", "  \r", "\xA0"})
        EXPECT_EQ(Read(text).status, CellNumber::Empty) << '"' << text << '"';
    EXPECT_EQ(ReadCellNumber(nullptr, 0).status, CellNumber::Empty);
}

// A field read at once in a record is the cell the columns would hold, read by the rule.
TEST(CellNumber, FieldsOfARecordReadAsTheirCells)
{
    const char* const fields[] = {"2.5", "2,5", " 3 ", ("\xA0" "4\r"), "", "  ", "\t", "1e400", "1e-400", "+7",
                                  "5.", ",5", "1.5.2", "4,1x", "-0", "0012", "1e", "12345678901234567890123",
                                  "1 2", "--1", "nan", "0x10", "7\t"};
    for (const char* field : fields) {
        std::string record = std::string(field) + ";9;";
        CellNumber cell, expected = Read(field);
        const char* stop = ReadCellField(record.data(), record.data() + record.size(), ';', cell);
        EXPECT_EQ(stop - record.data(), long(std::strlen(field))) << field;
        EXPECT_EQ(cell.status, expected.status) << field;
        EXPECT_EQ(cell.value, expected.value) << field;
        EXPECT_EQ(std::signbit(cell.value), std::signbit(expected.value)) << field;
        // A column the fit does not use is checked alike, without its value.
        EXPECT_EQ(ReadCellField(record.data(), record.data() + record.size(), ';', cell, false), stop) << field;
        EXPECT_EQ(cell.status, expected.status) << field;
        // The last field of a record ends at the record's end.
        stop = ReadCellField(field, field + std::strlen(field), ';', cell);
        EXPECT_EQ(stop, field + std::strlen(field));
        EXPECT_EQ(cell.status, expected.status) << field;
    }
}
