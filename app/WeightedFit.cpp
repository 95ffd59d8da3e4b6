#include "app/WeightedFit.h"

#include <cmath>

#include "app/CentredSums.h"
#include "app/FitLines.h"
#include "app/FitRows.h"
#include "app/FitStatistics.h"

namespace {
// A row's weighted products, formed as the first pass forms them.
struct Products {
    double p, xp, yp, xyp, xxp;
};

Products ProductsOf(double x, double y, double e)
{
    double p = WeightOf(e);
    double xp = x * p;
    double yp = y * p;
    return {p, xp, yp, (xp / p) * yp, (xp / p) * xp};
}

// First pass, in the order the values are formed: the weight, then x, then y; and the
// sums of the weighted means.
void FirstPass(const FitRows& rows, const WeightedFitColumns& out, WeightedFitResult& fit, MeanSums& means)
{
    rows.ForEach([&](double x, double y, double e) {
        Products v = ProductsOf(x, y, e);
        means.Add(x, y, v.p);
        fit.sw += v.p;
        Keep(out.p, v.p);
        fit.sx += x;
        fit.swx += v.xp;
        Keep(out.xp, v.xp);
        fit.sy += y;
        fit.swy += v.yp;
        Keep(out.yp, v.yp);
        fit.swxy += v.xyp;
        Keep(out.xyp, v.xyp);
        fit.swxx += v.xxp;
        Keep(out.xxp, v.xxp);
    });
}

double Xi(double s, uint32_t n)
{
    if (n > 2)
        return s / (n - 2.0);
    return n == 2 ? s * 0.5 : s;
}

}  // namespace

WeightedFitResult RunWeightedFit(CDataColumn* const data[4], const WeightedFitColumns& out)
{
    return RunWeightedFit(FitRows::FromColumns(data, true), out);
}

WeightedFitResult RunWeightedFit(const FitRows& rows, const WeightedFitColumns& out)
{
    WeightedFitResult fit;
    CentredSums c = RunCentredFit(rows, out, true, FirstPass, fit);
    fit.errorA = std::sqrt(c.weight / fit.delta);
    fit.errorB = std::sqrt(c.squares / fit.delta);
    fit.xi = Xi(fit.s, fit.n);
    fit.covAB = -c.meanX * (fit.errorA * fit.errorA);
    return fit;
}

std::vector<NamedResult> NamedResults(const WeightedFitResult& fit)
{
    return {
        {"N", static_cast<double>(fit.n)}, {"Sw", fit.sw}, {"Sx", fit.sx}, {"Sy", fit.sy},
        {"Swx", fit.swx}, {"Swy", fit.swy}, {"Swxy", fit.swxy}, {"Swxx", fit.swxx},
        {"S[((Ax+B-y)/w)]", fit.s}, {"Delta", fit.delta}, {"A", fit.a}, {"B", fit.b},
        {"Error A", fit.errorA}, {"Error B", fit.errorB}, {"Xi", fit.xi},
    };
}

std::vector<NamedResult> StatisticsOf(const WeightedFitResult& fit)
{
    ChiSquare chi = ChiSquareOf(fit.s, fit.n);
    return {
        {"Cov AB", fit.covAB}, {"Chi2", chi.chi2}, {"Chi2/(N-2)", chi.reduced}, {"P(Chi2)", chi.probability},
        {"Error A escalado", fit.errorA * chi.scale}, {"Error B escalado", fit.errorB * chi.scale},
    };
}

void ForEachWeightedFitRow(const FitRows& rows, const std::function<void(const double* values)>& visit)
{
    CentredSums c = CentredSumsOf(rows, true);
    CentredLine line = CentredLineOf(c);
    rows.ForEach([&](double x, double y, double e) {
        Products v = ProductsOf(x, y, e);
        double q = CentredResidual(line, c, x, y) / e;
        const double values[6] = {v.p, v.xyp, v.xxp, v.xp, v.yp, q * q};
        visit(values);
    });
}

WeightedFitResult WeightedFitFromRawSums(CDataColumn* const data[4])
{
    WeightedFitResult fit;
    FitRows rows = FitRows::FromColumns(data, true);
    fit.n = rows.Count();
    MeanSums unused;
    FirstPass(rows, WeightedFitColumns{}, fit, unused);
    fit.delta = fit.sw * fit.swxx - fit.swx * fit.swx;
    double reciprocal = 1.0 / fit.delta;
    fit.a = (fit.sw * fit.swxy - fit.swx * fit.swy) * reciprocal;
    fit.b = reciprocal * (fit.swy * fit.swxx - fit.swx * fit.swxy);
    rows.ForEach([&](double x, double y, double e) {
        double q = (fit.a * x + fit.b - y) / e;
        fit.s += q * q;
    });
    fit.errorA = std::sqrt(fit.sw / fit.delta);
    fit.errorB = std::sqrt(fit.swxx / fit.delta);
    fit.xi = Xi(fit.s, fit.n);
    return fit;
}
