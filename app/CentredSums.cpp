#include "app/CentredSums.h"

#include "app/CompensatedSum.h"
#include "app/FitLines.h"
#include "app/FitRows.h"

// A weight of exactly 1 leaves every product unchanged, so the simple fit gets the very
// sums it would get without weights.
CentredSums CentredSumsOf(const FitRows& rows, bool weighted)
{
    MeanSums first;
    rows.ForEach([&](double x, double y, double e) { first.Add(x, y, weighted ? WeightOf(e) : 1.0); });
    return CentredSumsAbout(rows, weighted, first);
}

CentredSums CentredSumsAbout(const FitRows& rows, bool weighted, const MeanSums& first)
{
    double weight = first.w.Value();
    CentredSums c{weight, first.wx.Value() / weight, first.wy.Value() / weight, 0, 0, 0, first.squares.Value()};
    CompensatedSum dx, dy, xx, xy, yy;
    rows.ForEach([&](double x, double y, double e) {
        double p = weighted ? WeightOf(e) : 1.0;
        double u = x - c.meanX, v = y - c.meanY;
        dx.Add(p * u);
        dy.Add(p * v);
        xx.Add(p * u * u);
        xy.Add(p * u * v);
        yy.Add(p * v * v);
    });
    c.xx = xx.Value() - dx.Value() * dx.Value() / c.weight;
    c.xy = xy.Value() - dx.Value() * dy.Value() / c.weight;
    c.yy = yy.Value() - dy.Value() * dy.Value() / c.weight;
    return c;
}

CentredLine CentredLineOf(const CentredSums& c)
{
    CentredLine line{c.weight * c.xx, c.xy / c.xx, 0, 0};
    line.b = c.meanY - line.a * c.meanX;
    return line;
}

CentredLine FitCentredLine(const FitRows& rows, const CentredSums& c, bool weighted, std::vector<double>* residuals)
{
    CentredLine line = CentredLineOf(c);
    CompensatedSum s;
    // One loop for each fit, so the simple one has no division in it.
    if (weighted) {
        rows.ForEach([&](double x, double y, double e) {
            double q = CentredResidual(line, c, x, y) / e;
            s.Add(q * q);
            Keep(residuals, q * q);
        });
    } else {
        rows.ForEach([&](double x, double y, double) {
            double q = CentredResidual(line, c, x, y);
            s.Add(q * q);
            Keep(residuals, q * q);
        });
    }
    line.s = s.Value();
    return line;
}
