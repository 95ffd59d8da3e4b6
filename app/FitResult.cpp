#include "app/FitResult.h"

#include <cmath>

#include "app/FitProblem.h"
#include "app/SimpleFit.h"
#include "app/WeightedFit.h"
#include "app/YorkFit.h"

const char* const SimpleRowCaptions[SimpleRowColumns] = {"X*Y", "X*X", "Y*Y", "(Ax+B-y)"};
const char* const WeightedRowCaptions[WeightedRowColumns] = {"1/w", "(X*Y)/w", "(X*X)/w", "X/w", "Y/w", "((Ax+B-y)/w)"};
const char* const YorkRowCaptions[YorkRowColumns] = {"W", "X ajustada", "Y ajustada", "(Ax+B-y)/e"};

int RowColumnCount(FitKind kind)
{
    return kind == FitKind::Simple ? SimpleRowColumns : kind == FitKind::Weighted ? WeightedRowColumns : YorkRowColumns;
}

const char* const* RowCaptions(FitKind kind)
{
    return kind == FitKind::Simple ? SimpleRowCaptions : kind == FitKind::Weighted ? WeightedRowCaptions : YorkRowCaptions;
}

namespace {
bool AllFinite(const std::vector<NamedResult>& results)
{
    for (const NamedResult& r : results)
        if (!std::isfinite(r.value))
            return false;
    return true;
}

// Each fit's per-row columns, in the order of its captions.
template <class Columns>
using PerRowColumn = std::vector<double>* Columns::*;
const PerRowColumn<SimpleFitColumns> SimpleColumns[SimpleRowColumns] = {
    &SimpleFitColumns::xy, &SimpleFitColumns::xx, &SimpleFitColumns::yy, &SimpleFitColumns::residuals};
const PerRowColumn<WeightedFitColumns> WeightedColumns[WeightedRowColumns] = {
    &WeightedFitColumns::p,  &WeightedFitColumns::xyp, &WeightedFitColumns::xxp,
    &WeightedFitColumns::xp, &WeightedFitColumns::yp,  &WeightedFitColumns::residuals};
const PerRowColumn<YorkFitColumns> YorkColumns[YorkRowColumns] = {
    &YorkFitColumns::weights, &YorkFitColumns::adjustedX, &YorkFitColumns::adjustedY, &YorkFitColumns::residuals};

// Where a fit keeps its per-row columns: the result's, when they were asked for.
template <class Columns, size_t N>
Columns PerRowColumns(FitResult& result, const PerRowColumn<Columns> (&order)[N])
{
    Columns out;
    if (!result.perRow.empty())
        for (size_t i = 0; i < N; i++)
            out.*order[i] = &result.perRow[i];
    return out;
}

// Takes a fit's named results and line into the result.
template <class Fit>
void TakeResults(FitResult& result, const Fit& fit)
{
    result.named = NamedResults(fit);
    result.a = fit.a, result.b = fit.b;
}

void RunSimple(FitResult& result)
{
    TakeResults(result, RunSimpleFit(result.rows, PerRowColumns(result, SimpleColumns)));
}

void RunWeighted(FitResult& result)
{
    WeightedFitResult fit = RunWeightedFit(result.rows, PerRowColumns(result, WeightedColumns));
    TakeResults(result, fit);
    result.statistics = StatisticsOf(fit);
}

void RunYork(FitResult& result)
{
    YorkFitResult fit = RunYorkFit(result.rows, PerRowColumns(result, YorkColumns));
    TakeResults(result, fit);
    if (!fit.converged)
        result.note = YorkCapText(false);
}
}  // namespace

FitResult RunFit(FitKind kind, FitRows rows, bool keepRows)
{
    FitResult result;
    result.kind = kind;
    result.rows = std::move(rows);
    if (keepRows)
        result.perRow.resize(RowColumnCount(kind));
    for (auto& column : result.perRow)
        column.reserve(result.rows.Count());
    if (kind == FitKind::Simple)
        RunSimple(result);
    else if (kind == FitKind::Weighted)
        RunWeighted(result);
    else
        RunYork(result);
    result.finite = AllFinite(result.named);
    return result;
}

FitResult RunFit(FitKind kind, CDataColumn* const data[4], bool keepRows)
{
    FitRows rows(true, true);
    ReadFitRows(data, kind, rows);
    return RunFit(kind, std::move(rows), keepRows);
}
