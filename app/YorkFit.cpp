#include "app/YorkFit.h"

#include <cmath>
#include <limits>

#include "app/CentredSums.h"
#include "app/CompensatedSum.h"
#include "app/FitRows.h"
#include "app/FitStatistics.h"

namespace {
// The weight of a row for the slope b, in the form of variances, which stays finite
// when one of the errors is 0: W = ωx·ωy/(ωx + b²·ωy) = 1/(ey² + b²·ex²).
double YorkWeight(double b, double ex, double ey) { return 1.0 / (ey * ey + b * b * (ex * ex)); }

// The weighted centre of the rows for the slope b, and ΣW. Deviations are taken from a
// fixed origin near the data (the plain means) first: the centre is then a small
// number whose rounding costs nothing, however far from 0 the data lie, and the slope
// settles to its last digits instead of wandering with the rounding of a large mean.
struct Centre {
    double weight;
    double originX, originY;  // the plain means
    double dx, dy;            // the weighted centre less the origin

    double U(double x) const { return (x - originX) - dx; }
    double V(double y) const { return (y - originY) - dy; }
    double MeanX() const { return originX + dx; }
    double MeanY() const { return originY + dy; }
};

Centre CentreOf(const FitRows& rows, const CentredSums& plain, double b)
{
    CompensatedSum w, wx, wy;
    rows.ForEachPoint([&](double x, double ex, double y, double ey) {
        double weight = YorkWeight(b, ex, ey);
        w.Add(weight);
        wx.Add(weight * (x - plain.meanX));
        wy.Add(weight * (y - plain.meanY));
    });
    return {w.Value(), plain.meanX, plain.meanY, wx.Value() / w.Value(), wy.Value() / w.Value()};
}

// β = W·(U·ey² + b·V·ex²), U and V the deviations from the centre: the adjusted point
// is (X̄ + β, Ȳ + b·β).
double BetaOf(double weight, double b, double u, double v, double ex, double ey)
{
    return weight * (u * (ey * ey) + b * v * (ex * ex));
}

// One step of the iteration: the slope ΣW·β·V / ΣW·β·U for the weights of slope b.
double NextSlope(const FitRows& rows, const CentredSums& plain, double b)
{
    Centre c = CentreOf(rows, plain, b);
    CompensatedSum num, den;
    rows.ForEachPoint([&](double x, double ex, double y, double ey) {
        double weight = YorkWeight(b, ex, ey), u = c.U(x), v = c.V(y);
        double beta = BetaOf(weight, b, u, v, ex, ey);
        num.Add(weight * beta * v);
        den.Add(weight * beta * u);
    });
    return num.Value() / den.Value();
}

// The slope has stopped changing when a step moves it by no more than a few units in
// its last place: rounding alone can make the last step swing between two neighbours.
bool Settled(double before, double after)
{
    return before == after || std::fabs(after - before) <= 8 * std::numeric_limits<double>::epsilon() * std::fabs(after);
}

// A row's values for the slope b: its weight, β, and its residual A·x + B − y (taken
// from the centre) times √W.
struct YorkRow {
    double weight, beta, normalised;
};

YorkRow YorkRowOf(const Centre& c, double b, double x, double ex, double y, double ey)
{
    double weight = YorkWeight(b, ex, ey), u = c.U(x), v = c.V(y);
    double beta = BetaOf(weight, b, u, v, ex, ey);
    return {weight, beta, (b * u - v) * std::sqrt(weight)};
}

// The intercept, the errors, χ² and the per-row values for the slope found: the errors
// from the adjusted points, σA² = 1/ΣW·u² and σB² = 1/ΣW + x̄²·σA², x̄ being the weighted
// mean of the adjusted x and u their deviations from it (York 2004, eqs. 13).
void Finish(const FitRows& rows, const CentredSums& plain, const YorkFitColumns& out, YorkFitResult& fit)
{
    double b = fit.a;
    Centre c = CentreOf(rows, plain, b);
    fit.b = c.MeanY() - b * c.MeanX();
    CompensatedSum wBeta;
    rows.ForEachPoint([&](double x, double ex, double y, double ey) {
        double weight = YorkWeight(b, ex, ey);
        wBeta.Add(weight * BetaOf(weight, b, c.U(x), c.V(y), ex, ey));
    });
    double meanBeta = wBeta.Value() / c.weight;
    CompensatedSum wuu, chi2;
    rows.ForEachPoint([&](double x, double ex, double y, double ey) {
        YorkRow row = YorkRowOf(c, b, x, ex, y, ey);
        double spread = row.beta - meanBeta;
        wuu.Add(row.weight * spread * spread);
        chi2.Add(row.normalised * row.normalised);
        Keep(out.weights, row.weight);
        Keep(out.adjustedX, c.MeanX() + row.beta);
        Keep(out.adjustedY, c.MeanY() + b * row.beta);
        Keep(out.residuals, row.normalised);
    });
    double meanX = c.originX + (c.dx + meanBeta);
    double varianceA = 1.0 / wuu.Value();
    fit.errorA = std::sqrt(varianceA);
    fit.errorB = std::sqrt(1.0 / c.weight + meanX * meanX * varianceA);
    fit.covAB = -meanX * varianceA;
    ChiSquare chi = ChiSquareOf(chi2.Value(), fit.n);
    fit.chi2 = chi.chi2;
    fit.reduced = chi.reduced;
    fit.probability = chi.probability;
    fit.scaledErrorA = fit.errorA * chi.scale;
    fit.scaledErrorB = fit.errorB * chi.scale;
}
}  // namespace

YorkFitResult RunYorkFit(const FitRows& rows, const YorkFitColumns& out)
{
    YorkFitResult fit;
    fit.n = rows.Count();
    CentredSums plain = CentredSumsOf(rows, false);
    double slope = plain.xy / plain.xx;
    fit.converged = false;
    while (fit.iterations < YorkMostIterations) {
        double next = NextSlope(rows, plain, slope);
        fit.iterations++;
        bool settled = Settled(slope, next);
        slope = next;
        if (settled) {
            fit.converged = true;
            break;
        }
        if (!std::isfinite(slope))
            break;  // refused as out of range (FitProblem.h)
    }
    fit.a = slope;
    Finish(rows, plain, out, fit);
    return fit;
}

void ForEachYorkFitRow(const FitRows& rows, double slope, const std::function<void(const double* values)>& visit)
{
    Centre c = CentreOf(rows, CentredSumsOf(rows, false), slope);
    rows.ForEachPoint([&](double x, double ex, double y, double ey) {
        YorkRow row = YorkRowOf(c, slope, x, ex, y, ey);
        const double values[4] = {row.weight, c.MeanX() + row.beta, c.MeanY() + slope * row.beta, row.normalised};
        visit(values);
    });
}

std::vector<NamedResult> NamedResults(const YorkFitResult& fit)
{
    return {
        {"N", static_cast<double>(fit.n)}, {"A", fit.a}, {"B", fit.b}, {"Error A", fit.errorA},
        {"Error B", fit.errorB}, {"Cov AB", fit.covAB}, {"Chi2", fit.chi2}, {"Chi2/(N-2)", fit.reduced},
        {"P(Chi2)", fit.probability}, {"Error A escalado", fit.scaledErrorA},
        {"Error B escalado", fit.scaledErrorB}, {"Iteraciones", static_cast<double>(fit.iterations)},
    };
}

std::string YorkCapText(bool ascii)
{
    std::string cap = std::to_string(YorkMostIterations);
    if (ascii)
        return "el ajuste York no converge: la pendiente aun cambia tras " + cap +
               " iteraciones; los resultados son los de la ultima";
    return "El ajuste York no converge: la pendiente a\xFAn cambia tras " + cap +
           " iteraciones; los resultados son los de la \xFAltima";
}
