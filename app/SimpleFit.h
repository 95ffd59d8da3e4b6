#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "app/FitLines.h"

class CDataColumn;
class FitRows;

// The per-row values the simple fit keeps: x·x, y·y, x·y and the squared residual. A
// null column is not kept.
struct SimpleFitColumns {
    std::vector<double>* xx = nullptr;         // "X*X"
    std::vector<double>* yy = nullptr;         // "Y*Y"
    std::vector<double>* xy = nullptr;         // "X*Y"
    std::vector<double>* residuals = nullptr;  // "(Ax+B-y)"
};

struct SimpleFitResult {
    uint32_t n = 0;
    double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;  // plain sums, as shown
    double s = 0, delta = 0, errorY = 0, a = 0, b = 0, errorA = 0, errorB = 0, r = 0;
};

// The unweighted least-squares line y = A·x + B through the rows of columns X and Y.
// The sums are shown as accumulated; everything derived from them is computed from
// deviations about the means, so data far from the origin keep their digits.
SimpleFitResult RunSimpleFit(CDataColumn* const data[4], const SimpleFitColumns& out = {});
SimpleFitResult RunSimpleFit(const FitRows& rows, const SimpleFitColumns& out = {});

// The named results in the order shown: "N", "Sx", … "r".
std::vector<NamedResult> NamedResults(const SimpleFitResult& fit);

// The per-row values of the fit, one row at a time, for a writer that keeps no columns:
// visit gets the values of "X*Y", "X*X", "Y*Y" and "(Ax+B-y)" (the order the result
// window shows), the very numbers RunSimpleFit keeps in its columns.
void ForEachSimpleFitRow(const FitRows& rows, const std::function<void(const double* values)>& visit);

// The same results from the textbook formulas on the plain sums (Δ = N·Sxx − Sx²),
// kept to measure what the centred computation gains.
SimpleFitResult SimpleFitFromRawSums(CDataColumn* const data[4]);
