#include "app/FitLines.h"

#include <cmath>
#include <cstring>

#include "core/CString.h"
#include "io/CDataColumn.h"
#include "io/CellNumber.h"

namespace {
bool CellIsEmpty(CDataColumn* column, uint32_t row) { return ReadCell(column, row).status == CellNumber::Empty; }

bool RowIsEmpty(CDataColumn* const data[4], uint32_t row)
{
    for (int k = 0; k < 4; k++)
        if (!CellIsEmpty(data[k], row))
            return false;
    return true;
}
}  // namespace

uint32_t RowCount(CDataColumn* const data[4])
{
    uint32_t rows = data[ColumnX]->LineCount();
    while (rows > 0 && RowIsEmpty(data, rows - 1))
        rows--;
    return rows;
}

CellNumber ReadCell(CDataColumn* column, uint32_t row)
{
    CString* line = column->LineAt(row);
    return line ? ReadCellNumber(line->GetBuffer(), line->GetLength()) : CellNumber{};
}

double CellValue(CDataColumn* column, uint32_t row)
{
    CellNumber cell = ReadCell(column, row);
    return cell.status == CellNumber::NotANumber ? std::nan("") : cell.value;
}

void AppendNumberText(CDataColumn* column, double value)
{
    char text[FitDigits + 40];
    uint32_t n = FormatGeneral(value, FitDigits, text, sizeof text);
    column->AddLine(text, n);
}

void AppendName(CDataColumn* column, const char* name)
{
    if (column)
        column->AddLine(name, static_cast<uint32_t>(std::strlen(name)));
}

void AppendResults(CDataColumn* names, CDataColumn* values, std::initializer_list<NamedResult> results)
{
    for (const NamedResult& result : results) {
        AppendName(names, result.name);
        AppendNumber(values, result.value);
    }
}
