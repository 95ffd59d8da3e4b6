#include "app/ChiSquare.h"

#include <cmath>
#include <limits>

namespace {
constexpr int MostTerms = 10000;
constexpr double Precision = 1e-16;
constexpr double Tiny = 1e-300;

// e^(−x)·x^a / Γ(a), the factor both expansions share.
double Prefactor(double a, double x) { return std::exp(-x + a * std::log(x) - std::lgamma(a)); }

// P(a, x) by its power series, which converges quickly for x < a + 1.
double LowerSeries(double a, double x)
{
    double term = 1 / a, sum = term;
    for (int n = 1; n < MostTerms && std::fabs(term) > std::fabs(sum) * Precision; n++) {
        term *= x / (a + n);
        sum += term;
    }
    return sum * Prefactor(a, x);
}

// Q(a, x) by its continued fraction (modified Lentz), for x ≥ a + 1.
double UpperFraction(double a, double x)
{
    double b = x + 1 - a, c = 1 / Tiny, d = 1 / b, h = d;
    for (int i = 1; i < MostTerms; i++) {
        double an = -i * (i - a);
        b += 2;
        d = an * d + b;
        d = std::fabs(d) < Tiny ? Tiny : d;
        c = b + an / c;
        c = std::fabs(c) < Tiny ? Tiny : c;
        d = 1 / d;
        double change = d * c;
        h *= change;
        if (std::fabs(change - 1) < Precision)
            break;
    }
    return h * Prefactor(a, x);
}
}  // namespace

double ChiSquareProbability(double chi2, double degrees)
{
    if (!(degrees > 0) || std::isnan(chi2))
        return std::numeric_limits<double>::quiet_NaN();
    if (chi2 <= 0)
        return 1;
    if (std::isinf(chi2))
        return 0;
    double a = degrees / 2, x = chi2 / 2;
    return x < a + 1 ? 1 - LowerSeries(a, x) : UpperFraction(a, x);
}
