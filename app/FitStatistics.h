#pragma once

#include <cstdint>

// Q(a, x) = Γ(a, x)/Γ(a), the upper regularized incomplete gamma function, for a > 0
// and x ≥ 0: the probability that a χ² with ν degrees of freedom is at least χ² is
// Q(ν/2, χ²/2). NaN for arguments outside that range.
double UpperRegularizedGamma(double a, double x);

// The χ² of a line fitted to n rows, with n − 2 degrees of freedom: χ²/(n − 2), the
// probability of a χ² at least this large, and √(χ²/(n − 2)), by which the errors are
// scaled. Two rows leave no degree of freedom: the line passes through both, χ² is 0,
// and the reduced χ² is given as 0, its probability as 1 and the scale as 0, as the
// simple fit's errors are 0 there.
struct ChiSquare {
    double chi2, reduced, probability, scale;
};
ChiSquare ChiSquareOf(double chi2, uint32_t n);
