#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "app/FitLines.h"

class CDataColumn;
class FitRows;

// The per-row values the weighted fit keeps: p, x·p, y·p, x·y·p, x·x·p and the squared
// weighted residual. A null column is not kept.
struct WeightedFitColumns {
    std::vector<double>* p = nullptr;          // "1/w"
    std::vector<double>* xp = nullptr;         // "X/w"
    std::vector<double>* yp = nullptr;         // "Y/w"
    std::vector<double>* xyp = nullptr;        // "(X*Y)/w"
    std::vector<double>* xxp = nullptr;        // "(X*X)/w"
    std::vector<double>* residuals = nullptr;  // "((Ax+B-y)/w)"
};

struct WeightedFitResult {
    uint32_t n = 0;
    double sw = 0, sx = 0, sy = 0, swx = 0, swy = 0, swxy = 0, swxx = 0;  // plain sums, as shown
    double s = 0, delta = 0, a = 0, b = 0, errorA = 0, errorB = 0, xi = 0;
    double covAB = 0;  // covariance of A and B: −x̄·(Error A)², x̄ the weighted mean
};

// The least-squares line weighted by p = 1/(e·e), e being the error of y. The sums are
// shown as accumulated; everything derived from them is computed from weighted
// deviations about the weighted means.
WeightedFitResult RunWeightedFit(CDataColumn* const data[4], const WeightedFitColumns& out = {});
WeightedFitResult RunWeightedFit(const FitRows& rows, const WeightedFitColumns& out = {});

// The fifteen named results in the order shown: "N", "Sw", … "Xi".
std::vector<NamedResult> NamedResults(const WeightedFitResult& fit);

// What a lab report asks for beside them: "Cov AB", "Chi2", "Chi2/(N-2)", "P(Chi2)",
// "Error A escalado", "Error B escalado" (FitStatistics.h).
std::vector<NamedResult> StatisticsOf(const WeightedFitResult& fit);

// The per-row values of the fit, one row at a time, for a writer that keeps no columns:
// visit gets the values of "1/w", "(X*Y)/w", "(X*X)/w", "X/w", "Y/w" and
// "((Ax+B-y)/w)" (the order the result window shows), the very numbers RunWeightedFit
// keeps in its columns.
void ForEachWeightedFitRow(const FitRows& rows, const std::function<void(const double* values)>& visit);

// The same results from the textbook formulas on the plain sums, for comparison.
WeightedFitResult WeightedFitFromRawSums(CDataColumn* const data[4]);
