#pragma once

#include <cstdint>
#include <functional>

class CDataColumn;
class FitRows;

// The lines the simple fit writes: per row x·x, y·y, x·y and the squared residual, then
// the named results. A null column is not written.
struct SimpleFitColumns {
    CDataColumn* xx = nullptr;         // "X*X"
    CDataColumn* yy = nullptr;         // "Y*Y"
    CDataColumn* xy = nullptr;         // "X*Y"
    CDataColumn* residuals = nullptr;  // "(Ax+B-y)"
    CDataColumn* names = nullptr;      // "Incognitas"
    CDataColumn* values = nullptr;     // "Valores"
};

struct SimpleFitResult {
    uint32_t n = 0;
    double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;  // plain sums, as shown
    double s = 0, delta = 0, errorY = 0, a = 0, b = 0, errorA = 0, errorB = 0, r = 0;
};

// The unweighted least-squares line y = A·x + B through the rows of columns X and Y.
// The sums are shown as accumulated; everything derived from them is computed from
// deviations about the means, so data far from the origin keep their digits.
SimpleFitResult RunSimpleFit(CDataColumn* const data[4], const SimpleFitColumns& out);
SimpleFitResult RunSimpleFit(const FitRows& rows, const SimpleFitColumns& out);

// The per-row values of the fit, one row at a time, for a writer that keeps no columns:
// visit gets the values of "X*Y", "X*X", "Y*Y" and "(Ax+B-y)" (the order the result
// window shows), the very numbers RunSimpleFit appends to its columns.
void ForEachSimpleFitRow(const FitRows& rows, const std::function<void(const double* values)>& visit);

// The same results from the textbook formulas on the plain sums (Δ = N·Sxx − Sx²),
// kept to measure what the centred computation gains.
SimpleFitResult SimpleFitFromRawSums(CDataColumn* const data[4]);
