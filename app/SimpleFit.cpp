#include "app/SimpleFit.h"

#include <cmath>

#include "app/CentredSums.h"
#include "app/FitLines.h"
#include "app/FitRows.h"

namespace {
// First pass: the plain sums as shown, the products per row, and the sums of the means
// (each row with weight 1).
void FirstPass(const FitRows& rows, const SimpleFitColumns& out, SimpleFitResult& fit, MeanSums& means)
{
    rows.ForEach([&](double x, double y, double) {
        means.Add(x, y, 1.0);
        fit.sx += x;
        fit.sxx += x * x;
        fit.sy += y;
        fit.syy += y * y;
        fit.sxy += x * y;
        Keep(out.xx, x * x);
        Keep(out.yy, y * y);
        Keep(out.xy, x * y);
    });
}

double ErrorOfY(double s, uint32_t n) { return std::sqrt(s / (n > 2 ? n - 2.0 : static_cast<double>(n))); }
}  // namespace

SimpleFitResult RunSimpleFit(CDataColumn* const data[4], const SimpleFitColumns& out)
{
    return RunSimpleFit(FitRows::FromColumns(data, false), out);
}

SimpleFitResult RunSimpleFit(const FitRows& rows, const SimpleFitColumns& out)
{
    SimpleFitResult fit;
    CentredSums c = RunCentredFit(rows, out, false, FirstPass, fit);
    double n = fit.n;
    fit.errorY = ErrorOfY(fit.s, fit.n);
    fit.errorA = std::sqrt(n / fit.delta) * fit.errorY;
    fit.errorB = std::sqrt(c.squares / fit.delta) * fit.errorY;
    // Every y equal: the horizontal line passes through every point, a perfect fit
    // rather than the 0/0 of the formula.
    fit.r = c.yy > 0 ? std::sqrt(c.xy * c.xy / (c.yy * c.xx)) : 1.0;
    return fit;
}

std::vector<NamedResult> NamedResults(const SimpleFitResult& fit)
{
    return {
        {"N", static_cast<double>(fit.n)}, {"Sx", fit.sx}, {"Sy", fit.sy}, {"Sxx", fit.sxx},
        {"Syy", fit.syy}, {"Sxy", fit.sxy}, {"S[(Ax+B-y)]", fit.s}, {"Delta", fit.delta},
        {"Error Y", fit.errorY}, {"A", fit.a}, {"B", fit.b}, {"Error A", fit.errorA},
        {"Error B", fit.errorB}, {"r", fit.r},
    };
}

void ForEachSimpleFitRow(const FitRows& rows, const std::function<void(const double* values)>& visit)
{
    CentredSums c = CentredSumsOf(rows, false);
    CentredLine line = CentredLineOf(c);
    rows.ForEach([&](double x, double y, double) {
        double q = CentredResidual(line, c, x, y);
        const double values[4] = {x * y, x * x, y * y, q * q};
        visit(values);
    });
}

SimpleFitResult SimpleFitFromRawSums(CDataColumn* const data[4])
{
    SimpleFitResult fit;
    FitRows rows = FitRows::FromColumns(data, false);
    fit.n = rows.Count();
    MeanSums unused;
    FirstPass(rows, SimpleFitColumns{}, fit, unused);
    double n = fit.n;
    fit.delta = n * fit.sxx - fit.sx * fit.sx;
    double reciprocal = 1.0 / fit.delta;
    fit.a = (n * fit.sxy - fit.sx * fit.sy) * reciprocal;
    fit.b = reciprocal * (fit.sy * fit.sxx - fit.sx * fit.sxy);
    rows.ForEach([&](double x, double y, double) {
        double d = fit.a * x + fit.b - y;
        fit.s += d * d;
    });
    fit.errorY = ErrorOfY(fit.s, fit.n);
    fit.errorA = std::sqrt(n / fit.delta) * fit.errorY;
    fit.errorB = std::sqrt(fit.sxx / fit.delta) * fit.errorY;
    double numerator = n * fit.sxy - fit.sx * fit.sy;
    fit.r = std::sqrt(numerator * numerator / ((n * fit.syy - fit.sy * fit.sy) * fit.delta));
    return fit;
}
