#include "app/FitRows.h"

#include "app/FitLines.h"

FitRows::FitRows(bool withErrors, bool withErrorX) : width(withErrorX ? 4 : withErrors ? 3 : 2) {}

bool FitRows::Add(double x, double y, double e, double ex)
{
    if (count == UINT32_MAX)
        return false;
    uint32_t at = count % BlockRows;
    if (at == 0)
        blocks.emplace_back(new double[BlockRows * width]);
    double* v = blocks.back().get() + at * width;
    v[0] = x;
    v[1] = y;
    if (width >= 3)
        v[2] = e;
    if (width == 4)
        v[3] = ex;
    count++;
    return true;
}

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
