#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CDataColumn;
struct CellNumber;

// The four data columns of a data set, in their order.
enum DataColumnIndex { ColumnX = 0, ColumnErrorX = 1, ColumnY = 2, ColumnErrorY = 3 };

// Number of rows: the lines of the X column, less the rows at the end whose four cells
// are all empty (blanks alone count as empty). Typing a value and Enter always leaves
// such a row; it is no data, and read as zeros it would spoil every fit.
uint32_t RowCount(CDataColumn* const data[4]);

// A row's cell read by the cell rule (io/CellNumber.h); a line the column does not
// have reads as an empty cell.
CellNumber ReadCell(CDataColumn* column, uint32_t row);

// The value of a row's cell: an empty cell is 0 and one that is not a number NaN, which
// the plot leaves out. A fit never meets either where it counts: it is refused first
// (FitProblem.h).
double CellValue(CDataColumn* column, uint32_t row);

// The digits every number of a fit is shown with, and room for its text.
constexpr int FitDigits = 32;
constexpr uint32_t FitTextRoom = FitDigits + 40;

// A fit's number as every window, report and the command-line tool show it: 32
// significant digits. Returns the length written to `text`.
uint32_t FitNumberText(double value, char (&text)[FitTextRoom]);
std::string FitNumberText(double value);

// Appends the number as shown, or the text, as a new line; a null column is skipped.
void AppendNumber(CDataColumn* column, double value);
void AppendName(CDataColumn* column, const char* name);

// Keeps a per-row value of a fit; a null column is skipped, so callers that show no
// per-row values pay nothing for them.
inline void Keep(std::vector<double>* column, double value)
{
    if (column)
        column->push_back(value);
}

// One of a fit's named results.
struct NamedResult {
    const char* name;
    double value;
};
