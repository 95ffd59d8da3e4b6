#include "app/WeightedFit.h"

#include <cmath>

#include "app/CentredSums.h"
#include "app/FitLines.h"
#include "app/FitRows.h"
#include "app/FitStatistics.h"

namespace {
// First pass, in the order the values are formed: the weight, then x, then y.
void FirstPass(const FitRows& rows, const WeightedFitColumns& out, WeightedFitResult& fit)
{
    rows.ForEach([&](double x, double y, double e) {
        double p = WeightOf(e);
        fit.sw += p;
        Keep(out.p, p);
        double xp = x * p;
        fit.sx += x;
        fit.swx += xp;
        Keep(out.xp, xp);
        double yp = y * p;
        fit.sy += y;
        fit.swy += yp;
        Keep(out.yp, yp);
        double xyp = (xp / p) * yp;
        fit.swxy += xyp;
        Keep(out.xyp, xyp);
        double xxp = (xp / p) * xp;
        fit.swxx += xxp;
        Keep(out.xxp, xxp);
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
    fit.n = rows.Count();
    FirstPass(rows, out, fit);
    CentredSums c = CentredSumsOf(rows, true);
    CentredLine line = FitCentredLine(rows, c, true, out.residuals);
    fit.delta = line.delta;
    fit.a = line.a;
    fit.b = line.b;
    fit.s = line.s;
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

WeightedFitResult WeightedFitFromRawSums(CDataColumn* const data[4])
{
    WeightedFitResult fit;
    FitRows rows = FitRows::FromColumns(data, true);
    fit.n = rows.Count();
    FirstPass(rows, WeightedFitColumns{}, fit);
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
