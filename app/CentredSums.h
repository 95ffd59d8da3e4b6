#pragma once

#include <vector>

#include "app/CompensatedSum.h"
#include "app/FitRows.h"

// Sums about the (weighted) means, from which both fits take their line and errors:
// each row counts with p = 1/(e·e) in the weighted fit and with 1 in the simple one.
struct CentredSums {
    double weight;        // sum of the weights (N for the simple fit)
    double meanX, meanY;  // weighted means
    double xx, xy, yy;    // sums of p·u·u, p·u·v, p·v·v, u and v the deviations
    double squares;       // sum of p·x·x
};

// Two passes with compensated sums: the means first, then the deviations, corrected
// for the rounding of the means.
CentredSums CentredSumsOf(const FitRows& rows, bool weighted);

// The first pass alone, for a fit that walks the rows for its plain sums anyway: each
// row added in order with its weight (1 in the simple fit).
class MeanSums {
public:
    void Add(double x, double y, double p)
    {
        w.Add(p);
        wx.Add(p * x);
        wy.Add(p * y);
        squares.Add(p * x * x);
    }

private:
    friend CentredSums CentredSumsAbout(const FitRows&, bool, const MeanSums&);
    CompensatedSum w, wx, wy, squares;
};

// The second pass, about the means of the first: CentredSumsOf from its two halves.
CentredSums CentredSumsAbout(const FitRows& rows, bool weighted, const MeanSums& first);

// The weight of a row in the weighted fit.
inline double WeightOf(double e) { return 1.0 / (e * e); }

// The line through the (weighted) centre: Δ = Sw·Mxx, A = Mxy/Mxx, B = ȳ − A·x̄, and S,
// the compensated sum of the squared residuals A·(x − x̄) − (y − ȳ), each divided by
// its row's error in the weighted fit. Every squared residual is also kept in
// `residuals` when given.
struct CentredLine {
    double delta, a, b, s;
};
CentredLine FitCentredLine(const FitRows& rows, const CentredSums& c, bool weighted, std::vector<double>* residuals);

// What the simple and the weighted fit do alike: N, the fit's own first pass (its plain
// sums, gathering the means beside them), the sums about the means and the line, whose
// Δ, A, B and S go into `fit`. The centred sums are returned for the fit's errors.
template <class Fit, class Columns>
CentredSums RunCentredFit(const FitRows& rows, const Columns& out, bool weighted,
                          void (*firstPass)(const FitRows&, const Columns&, Fit&, MeanSums&), Fit& fit)
{
    fit.n = rows.Count();
    MeanSums means;
    firstPass(rows, out, fit, means);
    CentredSums c = CentredSumsAbout(rows, weighted, means);
    CentredLine line = FitCentredLine(rows, c, weighted, out.residuals);
    fit.delta = line.delta;
    fit.a = line.a;
    fit.b = line.b;
    fit.s = line.s;
    return c;
}

// The line alone (S left 0), and a row's residual before its division by the error.
CentredLine CentredLineOf(const CentredSums& c);
inline double CentredResidual(const CentredLine& line, const CentredSums& c, double x, double y)
{
    return line.a * (x - c.meanX) - (y - c.meanY);
}
