#pragma once

// The probability that a χ² with `degrees` degrees of freedom is at least `chi2`: the
// regularised upper incomplete gamma function Q(degrees/2, chi2/2). NaN without degrees
// of freedom.
double ChiSquareProbability(double chi2, double degrees);
