#include "app/FitLines.h"

#include <cstring>

#include "core/CString.h"
#include "io/CDataColumn.h"

uint32_t RowCount(CDataColumn* const data[4]) { return data[ColumnX]->LineCount(); }

double CellValue(CDataColumn* column, uint32_t row)
{
    CString* line = column->LineAt(row);
    return line ? line->ToNumber() : 0.0;
}

void AppendNumber(CDataColumn* column, double value)
{
    if (!column)
        return;
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
