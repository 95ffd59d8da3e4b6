#include "app/PlotInput.h"

#include <cmath>
#include <cstring>

#include "app/FitResult.h"

namespace {
const char* FitName(FitKind kind)
{
    switch (kind) {
    case FitKind::Simple:
        return "Ajuste Simple";
    case FitKind::Weighted:
        return "Ajuste Ponderado";
    case FitKind::York:
        break;
    }
    return "Ajuste York";
}

// A named result of the fit or of its statistics; NaN when the fit has none of that name.
double Named(const FitResult& fit, const char* name)
{
    for (const auto* list : {&fit.named, &fit.statistics})
        for (const NamedResult& result : *list)
            if (std::strcmp(result.name, name) == 0)
                return result.value;
    return std::nan("");
}

// The rows as the plot draws them: errors by their size.
void ReadRows(const FitResult& fit, PlotInput& plot)
{
    fit.rows.ForEachPoint([&](double x, double ex, double y, double ey) {
        plot.x.push_back(x);
        plot.ex.push_back(std::fabs(ex));
        plot.y.push_back(y);
        plot.ey.push_back(std::fabs(ey));
    });
}

void Residuals(PlotInput& plot, FitKind kind)
{
    plot.normalised = kind != FitKind::Simple;
    plot.residuals.resize(plot.x.size());
    for (size_t i = 0; i < plot.x.size(); i++) {
        double r = plot.y[i] - (plot.a * plot.x[i] + plot.b);
        if (kind == FitKind::Weighted)
            r /= plot.ey[i];
        else if (kind == FitKind::York)
            r /= std::sqrt(plot.ey[i] * plot.ey[i] + plot.a * plot.a * plot.ex[i] * plot.ex[i]);
        plot.residuals[i] = r;
    }
}
}  // namespace

PlotInput LabPlotOf(const FitResult& fit)
{
    PlotInput plot;
    plot.fit = FitName(fit.kind);
    plot.a = fit.a;
    plot.b = fit.b;
    ReadRows(fit, plot);
    Residuals(plot, fit.kind);
    plot.legend = {{"A", fit.a, Named(fit, "Error A")}, {"B", fit.b, Named(fit, "Error B")}};
    if (fit.kind == FitKind::Simple) {
        plot.legend.push_back({"r", Named(fit, "r"), -1, 5});
    } else if (fit.rows.Count() > 2) {
        plot.legend.push_back({"Chi2/(N-2)", Named(fit, "Chi2/(N-2)"), -1, 3});
        plot.legend.push_back({"P(Chi2)", Named(fit, "P(Chi2)"), -1, 2});
    }
    return plot;
}
