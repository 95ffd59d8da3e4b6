// The plot with axes of 100,000 rows written as PNG (1600 × 1200) and as SVG: layout,
// drawing, encoding and the file, as "Exportar grafica" and ajustor-fit --plot do it.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>

#include <unistd.h>

#include "app/LabPlot.h"
#include "app/PlotInput.h"
#include "core/CApplication.h"

namespace {
constexpr int Rows = 100000;

CApplication* App()
{
    static CApplication* app = new CApplication();
    return app;
}

// A line with scatter of about the size of the errors, as in a lab.
const PlotInput& Data()
{
    static PlotInput plot = [] {
        PlotInput p;
        p.fit = "Ajuste Ponderado";
        p.a = 2;
        p.b = 1;
        for (int i = 0; i < Rows; i++) {
            double x = i * 0.001, noise = std::sin(i * 12.9898) * 0.3;
            p.x.push_back(x);
            p.ex.push_back(0.002);
            p.y.push_back(2 * x + 1 + noise);
            p.ey.push_back(0.3);
            p.residuals.push_back(noise / 0.3);
        }
        p.normalised = true;
        p.legend = {{"A", 2, 0.0012}, {"B", 1, 0.0019}, {"Chi2/(N-2)", 0.98, -1, 3}, {"P(Chi2)", 0.71, -1, 2}};
        return p;
    }();
    return plot;
}

void WritePlot(benchmark::State& state, const char* ending)
{
    std::string path = "/tmp/ajustor-plot-bench" + std::to_string(::getpid()) + ending;
    for (auto _ : state)
        if (!WriteLabPlot(App(), Data(), path.c_str()))
            state.SkipWithError("no se pudo escribir");
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f) {
        std::fseek(f, 0, SEEK_END);
        state.counters["bytes"] = static_cast<double>(std::ftell(f));
        std::fclose(f);
    }
    std::remove(path.c_str());
}

void BM_LabPlotPng(benchmark::State& state) { WritePlot(state, ".png"); }
void BM_LabPlotSvg(benchmark::State& state) { WritePlot(state, ".svg"); }
BENCHMARK(BM_LabPlotPng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LabPlotSvg)->Unit(benchmark::kMillisecond);
}  // namespace
