#pragma once

#include <cstdint>
#include <initializer_list>

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

// Appends the number with 32 significant digits, or the text, as a new line; a null
// column is skipped, so callers that show no per-row values pay nothing for them (the
// test is inline: the fits call it for every row).
void AppendNumberText(CDataColumn* column, double value);
inline void AppendNumber(CDataColumn* column, double value)
{
    if (column)
        AppendNumberText(column, value);
}
void AppendName(CDataColumn* column, const char* name);

// A fit's named results, appended in order: the name to `names`, the number to `values`.
struct NamedResult {
    const char* name;
    double value;
};
void AppendResults(CDataColumn* names, CDataColumn* values, std::initializer_list<NamedResult> results);

// The digits every number of a fit is shown with.
constexpr int FitDigits = 32;
