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

uint32_t FitNumberText(double value, char (&text)[FitTextRoom])
{
    return FormatGeneral(value, FitDigits, text, FitTextRoom);
}

std::string FitNumberText(double value)
{
    char text[FitTextRoom];
    return std::string(text, FitNumberText(value, text));
}

void AppendNumber(CDataColumn* column, double value)
{
    if (!column)
        return;
    char text[FitTextRoom];
    column->AddLine(text, FitNumberText(value, text));
}

void AppendName(CDataColumn* column, const char* name)
{
    if (column)
        column->AddLine(name, static_cast<uint32_t>(std::strlen(name)));
}
