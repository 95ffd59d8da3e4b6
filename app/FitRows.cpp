#include "app/FitRows.h"

#include "app/FitLines.h"

FitRows::FitRows(bool withErrors) : width(withErrors ? 3 : 2) {}

void FitRows::NewBlock() { blocks.emplace_back(new double[BlockRows * width]); }

FitRows FitRows::FromColumns(CDataColumn* const data[4], bool withErrors)
{
    FitRows rows(withErrors);
    uint32_t n = RowCount(data);
    for (uint32_t i = 0; i < n; i++) {
        double x = CellValue(data[ColumnX], i);
        double y = CellValue(data[ColumnY], i);
        rows.Add(x, y, withErrors ? CellValue(data[ColumnErrorY], i) : 1.0);
    }
    return rows;
}
