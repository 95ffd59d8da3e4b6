#include "app/FitStatistics.h"

#include <cmath>
#include <limits>

namespace {
constexpr double Epsilon = std::numeric_limits<double>::epsilon();
constexpr double Tiny = std::numeric_limits<double>::min() / Epsilon;

// Both expansions need of the order of √a terms where x is near a, as it is for a χ²
// near its degrees of freedom.
int MostTerms(double a) { return 1000 + static_cast<int>(20 * std::sqrt(a)); }

// e^(−x)·x^a/Γ(a), the factor both expansions share, through logarithms so that large
// a and x neither overflow nor underflow on the way.
double Prefactor(double a, double x) { return std::exp(a * std::log(x) - x - std::lgamma(a)); }

// P(a, x) = e^(−x)·x^a/Γ(a + 1)·Σ x^n/((a + 1)…(a + n)); converges fast for x < a + 1.
double LowerBySeries(double a, double x)
{
    double term = 1.0 / a, sum = term;
    for (int n = 1, most = MostTerms(a); n < most; n++) {
        term *= x / (a + n);
        sum += term;
        if (std::fabs(term) < std::fabs(sum) * Epsilon)
            break;
    }
    return sum * Prefactor(a, x);
}

// Q(a, x) by its continued fraction 1/(x + 1 − a − 1·(1 − a)/(x + 3 − a − …)), evaluated
// by the modified Lentz method; converges fast for x ≥ a + 1.
double UpperByFraction(double a, double x)
{
    double b = x + 1.0 - a, c = 1.0 / Tiny, d = 1.0 / b, h = d;
    for (int n = 1, most = MostTerms(a); n < most; n++) {
        double an = -n * (n - a);
        b += 2.0;
        d = an * d + b;
        if (std::fabs(d) < Tiny)
            d = Tiny;
        c = b + an / c;
        if (std::fabs(c) < Tiny)
            c = Tiny;
        d = 1.0 / d;
        double step = d * c;
        h *= step;
        if (std::fabs(step - 1.0) < Epsilon)
            break;
    }
    return h * Prefactor(a, x);
}
}  // namespace

double UpperRegularizedGamma(double a, double x)
{
    if (!(a > 0) || !(x >= 0) || std::isinf(a))
        return std::nan("");
    if (x == 0)
        return 1.0;
    if (std::isinf(x))
        return 0.0;
    return x < a + 1.0 ? 1.0 - LowerBySeries(a, x) : UpperByFraction(a, x);
}

ChiSquare ChiSquareOf(double chi2, uint32_t n)
{
    if (n <= 2)
        return {chi2, 0.0, 1.0, 0.0};
    double freedom = n - 2.0;
    double reduced = chi2 / freedom;
    return {chi2, reduced, UpperRegularizedGamma(freedom / 2, chi2 / 2), std::sqrt(reduced)};
}
