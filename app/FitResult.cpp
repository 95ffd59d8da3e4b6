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

void RunSimple(FitResult& result)
{
    auto& c = result.perRow;
    SimpleFitColumns out;
    if (!c.empty())
        out.xy = &c[0], out.xx = &c[1], out.yy = &c[2], out.residuals = &c[3];
    SimpleFitResult fit = RunSimpleFit(result.rows, out);
    result.named = NamedResults(fit);
    result.a = fit.a, result.b = fit.b;
}

void RunWeighted(FitResult& result)
{
    auto& c = result.perRow;
    WeightedFitColumns out;
    if (!c.empty())
        out.p = &c[0], out.xyp = &c[1], out.xxp = &c[2], out.xp = &c[3], out.yp = &c[4], out.residuals = &c[5];
    WeightedFitResult fit = RunWeightedFit(result.rows, out);
    result.named = NamedResults(fit);
    result.statistics = StatisticsOf(fit);
    result.a = fit.a, result.b = fit.b;
}

void RunYork(FitResult& result)
{
    auto& c = result.perRow;
    YorkFitColumns out;
    if (!c.empty())
        out.weights = &c[0], out.adjustedX = &c[1], out.adjustedY = &c[2], out.residuals = &c[3];
    YorkFitResult fit = RunYorkFit(result.rows, out);
    result.named = NamedResults(fit);
    result.a = fit.a, result.b = fit.b;
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
