#pragma once

#include <cmath>
#include <cstdlib>

// Correct digits of a computed value: −log10 of its relative error against the exact
// value given as decimal text; 19 when it matches to long double precision.
inline double CorrectDigits(double value, const char* exact)
{
    long double truth = std::strtold(exact, nullptr);
    long double error = std::fabs(static_cast<long double>(value) - truth) / std::fabs(truth);
    return error == 0 ? 19.0 : static_cast<double>(-std::log10(error));
}
