#include "app/WeightedFit.h"

#include <cmath>
#include <vector>

#include "app/CompensatedSum.h"
#include "app/FitLines.h"

namespace {
struct Row {
    double x, y, e, p;
};

// First pass, in the order the columns are read: the weight, then x, then y.
std::vector<Row> ReadRows(CDataColumn* const data[4], const WeightedFitColumns& out, WeightedFitResult& fit)
{
    std::vector<Row> rows(fit.n);
    for (uint32_t i = 0; i < fit.n; i++) {
        double e = CellValue(data[ColumnErrorY], i);
        double p = 1.0 / (e * e);
        fit.sw += p;
        AppendNumber(out.p, p);
        double x = CellValue(data[ColumnX], i);
        double xp = x * p;
        fit.sx += x;
        fit.swx += xp;
        AppendNumber(out.xp, xp);
        double y = CellValue(data[ColumnY], i);
        double yp = y * p;
        fit.sy += y;
        fit.swy += yp;
        AppendNumber(out.yp, yp);
        double xyp = (xp / p) * yp;
        fit.swxy += xyp;
        AppendNumber(out.xyp, xyp);
        double xxp = (xp / p) * xp;
        fit.swxx += xxp;
        AppendNumber(out.xxp, xxp);
        rows[i] = {x, y, e, p};
    }
    return rows;
}

struct Centred {
    double weight, meanX, meanY, xx, xy;  // sum of weights, weighted means and co-moments
    double squares;                       // sum of x·x·p, compensated
};

Centred CentredSums(const std::vector<Row>& rows)
{
    CompensatedSum w, wx, wy, squares;
    for (const Row& row : rows) {
        w.Add(row.p);
        wx.Add(row.p * row.x);
        wy.Add(row.p * row.y);
        squares.Add(row.p * row.x * row.x);
    }
    Centred c{w.Value(), wx.Value() / w.Value(), wy.Value() / w.Value(), 0, 0, squares.Value()};
    CompensatedSum dx, dy, xx, xy;
    for (const Row& row : rows) {
        double u = row.x - c.meanX, v = row.y - c.meanY;
        dx.Add(row.p * u);
        dy.Add(row.p * v);
        xx.Add(row.p * u * u);
        xy.Add(row.p * u * v);
    }
    c.xx = xx.Value() - dx.Value() * dx.Value() / c.weight;
    c.xy = xy.Value() - dx.Value() * dy.Value() / c.weight;
    return c;
}

double Xi(double s, uint32_t n)
{
    if (n > 2)
        return s / (n - 2.0);
    return n == 2 ? s * 0.5 : s;
}

void WriteResults(const WeightedFitResult& fit, const WeightedFitColumns& out)
{
    const struct {
        const char* name;
        double value;
    } results[] = {
        {"N", static_cast<double>(fit.n)}, {"Sw", fit.sw}, {"Sx", fit.sx}, {"Sy", fit.sy},
        {"Swx", fit.swx}, {"Swy", fit.swy}, {"Swxy", fit.swxy}, {"Swxx", fit.swxx},
        {"S[((Ax+B-y)/w)]", fit.s}, {"Delta", fit.delta}, {"A", fit.a}, {"B", fit.b},
        {"Error A", fit.errorA}, {"Error B", fit.errorB}, {"Xi", fit.xi},
    };
    for (const auto& result : results) {
        AppendName(out.names, result.name);
        AppendNumber(out.values, result.value);
    }
}
}  // namespace

WeightedFitResult RunWeightedFit(CDataColumn* const data[4], const WeightedFitColumns& out)
{
    WeightedFitResult fit;
    fit.n = RowCount(data);
    std::vector<Row> rows = ReadRows(data, out, fit);
    Centred c = CentredSums(rows);
    fit.delta = c.weight * c.xx;
    fit.a = c.xy / c.xx;
    fit.b = c.meanY - fit.a * c.meanX;
    CompensatedSum s;
    for (const Row& row : rows) {
        double q = (fit.a * (row.x - c.meanX) - (row.y - c.meanY)) / row.e;
        s.Add(q * q);
        AppendNumber(out.residuals, q * q);
    }
    fit.s = s.Value();
    fit.errorA = std::sqrt(c.weight / fit.delta);
    fit.errorB = std::sqrt(c.squares / fit.delta);
    fit.xi = Xi(fit.s, fit.n);
    WriteResults(fit, out);
    return fit;
}

WeightedFitResult WeightedFitFromRawSums(CDataColumn* const data[4])
{
    WeightedFitResult fit;
    fit.n = RowCount(data);
    std::vector<Row> rows = ReadRows(data, WeightedFitColumns{}, fit);
    fit.delta = fit.sw * fit.swxx - fit.swx * fit.swx;
    double reciprocal = 1.0 / fit.delta;
    fit.a = (fit.sw * fit.swxy - fit.swx * fit.swy) * reciprocal;
    fit.b = reciprocal * (fit.swy * fit.swxx - fit.swx * fit.swxy);
    for (const Row& row : rows) {
        double q = (fit.a * row.x + fit.b - row.y) / row.e;
        fit.s += q * q;
    }
    fit.errorA = std::sqrt(fit.sw / fit.delta);
    fit.errorB = std::sqrt(fit.swxx / fit.delta);
    fit.xi = Xi(fit.s, fit.n);
    return fit;
}
