#pragma once

#include <cstdint>
#include <functional>

class CDataColumn;
class FitRows;

// The lines the weighted fit writes: per row p, x·p, y·p, x·y·p, x·x·p and the squared
// weighted residual, then the named results. A null column is not written.
struct WeightedFitColumns {
    CDataColumn* p = nullptr;          // "1/w"
    CDataColumn* xp = nullptr;         // "X/w"
    CDataColumn* yp = nullptr;         // "Y/w"
    CDataColumn* xyp = nullptr;        // "(X*Y)/w"
    CDataColumn* xxp = nullptr;        // "(X*X)/w"
    CDataColumn* residuals = nullptr;  // "((Ax+B-y)/w)"
    CDataColumn* names = nullptr;      // "Incognitas"
    CDataColumn* values = nullptr;     // "Valores"
};

struct WeightedFitResult {
    uint32_t n = 0;
    double sw = 0, sx = 0, sy = 0, swx = 0, swy = 0, swxy = 0, swxx = 0;  // plain sums, as shown
    double s = 0, delta = 0, a = 0, b = 0, errorA = 0, errorB = 0, xi = 0;
};

// The least-squares line weighted by p = 1/(e·e), e being the error of y. The sums are
// shown as accumulated; everything derived from them is computed from weighted
// deviations about the weighted means.
WeightedFitResult RunWeightedFit(CDataColumn* const data[4], const WeightedFitColumns& out);
WeightedFitResult RunWeightedFit(const FitRows& rows, const WeightedFitColumns& out);

// The per-row values of the fit, one row at a time, for a writer that keeps no columns:
// visit gets the values of "1/w", "(X*Y)/w", "(X*X)/w", "X/w", "Y/w" and
// "((Ax+B-y)/w)" (the order the result window shows), the very numbers RunWeightedFit
// appends to its columns.
void ForEachWeightedFitRow(const FitRows& rows, const std::function<void(const double* values)>& visit);

// The same results from the textbook formulas on the plain sums, for comparison.
WeightedFitResult WeightedFitFromRawSums(CDataColumn* const data[4]);
