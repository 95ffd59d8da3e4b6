#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class CApplication;
class CDataColumn;
class CIO;
class FitRows;

// A data set written as plain text, one row per line: numbers separated by blanks or
// tabs, or CSV as spreadsheets export it — fields separated by commas, or by
// semicolons with a decimal comma. The first line that is not blank or a comment
// ("#") sets the separator and the count of numbers every row must have: two are x
// and y; three are x, y and the error of y; four are x, the error of x, y and the
// error of y. A first line without any number holds the columns' names and is skipped.
// Every field must be a whole number ("12", "-2.5e3"): anything else is refused, for a
// silent zero in batch work is a wrong result that looks right.

// One row: the numbers as written (a decimal comma turned into a point) and their
// values.
struct PlainTextRow {
    int count = 0;
    std::string_view text[4];
    double value[4] = {};
};

// Receives the rows as they are read.
class PlainTextSink {
public:
    virtual void Row(const PlainTextRow& row) = 0;

protected:
    ~PlainTextSink() = default;
};

struct PlainTextResult {
    enum Status { Read, CannotOpen, BadLine, BadNumber, LongLine, TooManyRows } status = Read;
    uint32_t line = 0;    // with a fault: the offending line, counted from 1
    uint32_t fields = 0;  // with BadLine: how many fields it held
    std::string token;    // with BadNumber: the field as written
    uint32_t rows = 0;    // rows read
};

// A line longer than this is refused: the reader holds one line at a time, so endless
// input without line feeds cannot take all memory.
constexpr uint32_t PlainTextLongestLine = 1u << 20;

// Reads the stream to its end, or to the first fault, handing every row to the sink.
PlainTextResult ReadPlainText(CIO* in, PlainTextSink& sink);

// The same reading into the row store alone, without the text of the numbers: x and y,
// and the errors of x and y of rows that have them (0 for those that do not).
PlainTextResult ReadPlainTextRows(CIO* in, FitRows& rows);

// Reads the file at path into the four columns, the cells kept as the text of their
// numbers. On success the columns hold exactly the rows read; after a fault they are
// empty.
PlainTextResult ReadPlainTextData(CApplication* app, const char* path, CDataColumn* const columns[4]);

// The column of each number of a row, by the row's count of numbers.
int PlainTextColumn(int count, int field);

// Adds a row's numbers to the row store: x and y, and the errors of x and y where the
// row has them (0 where it does not).
void AddPlainTextRow(FitRows& rows, int count, const double value[4]);
