#include "app/SimpleFit.h"

#include <cmath>
#include <vector>

#include "app/CompensatedSum.h"
#include "app/FitLines.h"

namespace {
struct Row {
    double x, y;
};

// First pass: read every row once, accumulate the plain sums and write the products.
std::vector<Row> ReadRows(CDataColumn* const data[4], const SimpleFitColumns& out, SimpleFitResult& fit)
{
    std::vector<Row> rows(fit.n);
    for (uint32_t i = 0; i < fit.n; i++) {
        double x = CellValue(data[ColumnX], i);
        double y = CellValue(data[ColumnY], i);
        rows[i] = {x, y};
        fit.sx += x;
        fit.sxx += x * x;
        fit.sy += y;
        fit.syy += y * y;
        fit.sxy += x * y;
        AppendNumber(out.xx, x * x);
        AppendNumber(out.yy, y * y);
        AppendNumber(out.xy, x * y);
    }
    return rows;
}

struct Centred {
    double meanX, meanY, xx, xy, yy;  // means, and sums of products of deviations
    double squares;                   // sum of x·x, compensated
};

// Two-pass sums about the means, with the correction for the rounding of the means.
Centred CentredSums(const std::vector<Row>& rows)
{
    CompensatedSum sumX, sumY, squares;
    for (const Row& row : rows) {
        sumX.Add(row.x);
        sumY.Add(row.y);
        squares.Add(row.x * row.x);
    }
    double n = static_cast<double>(rows.size());
    Centred c{sumX.Value() / n, sumY.Value() / n, 0, 0, 0, squares.Value()};
    CompensatedSum dx, dy, xx, xy, yy;
    for (const Row& row : rows) {
        double u = row.x - c.meanX, v = row.y - c.meanY;
        dx.Add(u);
        dy.Add(v);
        xx.Add(u * u);
        xy.Add(u * v);
        yy.Add(v * v);
    }
    c.xx = xx.Value() - dx.Value() * dx.Value() / n;
    c.xy = xy.Value() - dx.Value() * dy.Value() / n;
    c.yy = yy.Value() - dy.Value() * dy.Value() / n;
    return c;
}

void WriteResults(const SimpleFitResult& fit, const SimpleFitColumns& out)
{
    const struct {
        const char* name;
        double value;
    } results[] = {
        {"N", static_cast<double>(fit.n)}, {"Sx", fit.sx}, {"Sy", fit.sy}, {"Sxx", fit.sxx},
        {"Syy", fit.syy}, {"Sxy", fit.sxy}, {"S[(Ax+B-y)]", fit.s}, {"Delta", fit.delta},
        {"Error Y", fit.errorY}, {"A", fit.a}, {"B", fit.b}, {"Error A", fit.errorA},
        {"Error B", fit.errorB}, {"r", fit.r},
    };
    for (const auto& result : results) {
        AppendName(out.names, result.name);
        AppendNumber(out.values, result.value);
    }
}

double ErrorOfY(double s, uint32_t n) { return std::sqrt(s / (n > 2 ? n - 2.0 : static_cast<double>(n))); }
}  // namespace

SimpleFitResult RunSimpleFit(CDataColumn* const data[4], const SimpleFitColumns& out)
{
    SimpleFitResult fit;
    fit.n = RowCount(data);
    std::vector<Row> rows = ReadRows(data, out, fit);
    Centred c = CentredSums(rows);
    double n = fit.n;
    fit.delta = n * c.xx;
    fit.a = c.xy / c.xx;
    fit.b = c.meanY - fit.a * c.meanX;
    CompensatedSum s;
    for (const Row& row : rows) {
        double d = fit.a * (row.x - c.meanX) - (row.y - c.meanY);
        s.Add(d * d);
        AppendNumber(out.residuals, d * d);
    }
    fit.s = s.Value();
    fit.errorY = ErrorOfY(fit.s, fit.n);
    fit.errorA = std::sqrt(n / fit.delta) * fit.errorY;
    fit.errorB = std::sqrt(c.squares / fit.delta) * fit.errorY;
    fit.r = std::sqrt(c.xy * c.xy / (c.yy * c.xx));
    WriteResults(fit, out);
    return fit;
}

SimpleFitResult SimpleFitFromRawSums(CDataColumn* const data[4])
{
    SimpleFitResult fit;
    fit.n = RowCount(data);
    std::vector<Row> rows = ReadRows(data, SimpleFitColumns{}, fit);
    double n = fit.n;
    fit.delta = n * fit.sxx - fit.sx * fit.sx;
    double reciprocal = 1.0 / fit.delta;
    fit.a = (n * fit.sxy - fit.sx * fit.sy) * reciprocal;
    fit.b = reciprocal * (fit.sy * fit.sxx - fit.sx * fit.sxy);
    for (const Row& row : rows) {
        double d = fit.a * row.x + fit.b - row.y;
        fit.s += d * d;
    }
    fit.errorY = ErrorOfY(fit.s, fit.n);
    fit.errorA = std::sqrt(n / fit.delta) * fit.errorY;
    fit.errorB = std::sqrt(fit.sxx / fit.delta) * fit.errorY;
    double numerator = n * fit.sxy - fit.sx * fit.sy;
    fit.r = std::sqrt(numerator * numerator / ((n * fit.syy - fit.sy * fit.sy) * fit.delta));
    return fit;
}
