#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/FitLines.h"
#include "app/FitRows.h"

enum class FitKind { Simple, Weighted, York };

// The captions of the per-row result columns of each fit, in the order the windows,
// the reports and the command-line tool show them.
constexpr int SimpleRowColumns = 4;
constexpr int WeightedRowColumns = 6;
constexpr int YorkRowColumns = 4;
constexpr int MostRowColumns = WeightedRowColumns;
extern const char* const SimpleRowCaptions[SimpleRowColumns];
extern const char* const WeightedRowCaptions[WeightedRowColumns];
extern const char* const YorkRowCaptions[YorkRowColumns];
int RowColumnCount(FitKind kind);
const char* const* RowCaptions(FitKind kind);

// What a fit found, as numbers: the rows it used, its per-row columns (one list per
// caption, empty when they were not asked for), its named results in the order shown,
// and the line y = a·x + b. The windows, the reports, the plot and the command-line tool
// all read this; the texts the windows show are made from it.
struct FitResult {
    FitKind kind = FitKind::Simple;
    FitRows rows{true, true};
    std::vector<std::vector<double>> perRow;
    std::vector<NamedResult> named;
    // The weighted fit's statistics beside its own results: covariance, χ² and its
    // probability, scaled errors (the York fit has them among its results).
    std::vector<NamedResult> statistics;
    double a = 0, b = 0;
    bool finite = true;  // every result a finite number
    std::string note;    // what the user must be told beside the results, or empty
};

// Runs the fit on rows already checked (FitProblem.h) and keeps them in the result.
// The per-row columns are filled only when `keepRows` is set.
FitResult RunFit(FitKind kind, FitRows rows, bool keepRows);

// The rows of data columns whose cells were checked, read with both errors, and fitted.
FitResult RunFit(FitKind kind, CDataColumn* const data[4], bool keepRows = true);
