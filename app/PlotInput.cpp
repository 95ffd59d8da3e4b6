#include "app/PlotInput.h"

#include <cmath>

#include "app/ChiSquare.h"
#include "app/FitLines.h"
#include "app/SimpleFit.h"
#include "app/WeightedFit.h"

namespace {
// The rows as the plot draws them: errors by their size, an empty or unreadable error
// as none. Rows without a readable x and y are left out (no fit runs on them).
void ReadRows(CDataColumn* const data[4], PlotInput& plot)
{
    uint32_t rows = RowCount(data);
    for (uint32_t i = 0; i < rows; i++) {
        double x = CellValue(data[ColumnX], i), y = CellValue(data[ColumnY], i);
        if (!std::isfinite(x) || !std::isfinite(y))
            continue;
        double ex = std::fabs(CellValue(data[ColumnErrorX], i)), ey = std::fabs(CellValue(data[ColumnErrorY], i));
        plot.x.push_back(x);
        plot.ex.push_back(std::isfinite(ex) ? ex : 0);
        plot.y.push_back(y);
        plot.ey.push_back(std::isfinite(ey) ? ey : 0);
    }
}

void Residuals(PlotInput& plot, bool normalised)
{
    plot.normalised = normalised;
    plot.residuals.resize(plot.x.size());
    for (size_t i = 0; i < plot.x.size(); i++) {
        double r = plot.y[i] - (plot.a * plot.x[i] + plot.b);
        plot.residuals[i] = normalised ? r / plot.ey[i] : r;
    }
}
}  // namespace

ChiSquareResults WeightedChiSquare(const WeightedFitResult& fit)
{
    ChiSquareResults out;
    double degrees = fit.n > 2 ? fit.n - 2.0 : 0;
    out.chi2 = fit.s;
    out.perDegree = degrees > 0 ? fit.s / degrees : std::nan("");
    out.probability = ChiSquareProbability(fit.s, degrees);
    return out;
}

PlotInput SimpleFitPlot(const SimpleFitResult& fit, CDataColumn* const data[4])
{
    PlotInput plot;
    plot.fit = "Ajuste Simple";
    plot.a = fit.a;
    plot.b = fit.b;
    ReadRows(data, plot);
    Residuals(plot, false);
    plot.legend = {{"A", fit.a, fit.errorA}, {"B", fit.b, fit.errorB}, {"r", fit.r, -1, 5}};
    return plot;
}

PlotInput WeightedFitPlot(const WeightedFitResult& fit, CDataColumn* const data[4])
{
    PlotInput plot;
    plot.fit = "Ajuste Ponderado";
    plot.a = fit.a;
    plot.b = fit.b;
    ReadRows(data, plot);
    Residuals(plot, true);
    plot.legend = {{"A", fit.a, fit.errorA}, {"B", fit.b, fit.errorB}};
    ChiSquareResults chi = WeightedChiSquare(fit);
    if (std::isfinite(chi.perDegree)) {
        plot.legend.push_back({"Chi2/(N-2)", chi.perDegree, -1, 3});
        plot.legend.push_back({"P(Chi2)", chi.probability, -1, 2});
    }
    return plot;
}
