#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <memory>

#include "bench/io/BenchData.h"
#include "core/CApplication.h"
#include "core/Variable.h"
#include "io/CLineColumn.h"
#include "io/DataFile.h"

namespace {
constexpr uint32_t Rows = 1000000;

struct Columns {
    explicit Columns(CApplication* app)
    {
        for (int k = 0; k < 4; k++) {
            held[k] = new CLineColumn(app);
            pointers[k] = held[k].As<CLineColumn>();
        }
    }
    Variable held[4];
    CDataColumn* pointers[4];
};

double PeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

void BM_SaveDataFile(benchmark::State& state)
{
    CApplication app;
    auto data = std::make_unique<Columns>(&app);
    FillColumns(data->pointers, Rows);
    std::string path = BenchFile("save");
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveDataFile(&app, path.c_str(), data->pointers));
    std::FILE* f = std::fopen(path.c_str(), "rb");
    std::fseek(f, 0, SEEK_END);
    state.SetBytesProcessed(state.iterations() * std::ftell(f));
    std::fclose(f);
    std::remove(path.c_str());
    state.counters["rows"] = Rows;
    data.reset();
}
BENCHMARK(BM_SaveDataFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_LoadDataFile(benchmark::State& state)
{
    CApplication app;
    std::string path = BenchFile("load");
    {
        Columns source(&app);
        FillColumns(source.pointers, Rows);
        SaveDataFile(&app, path.c_str(), source.pointers);
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto data = std::make_unique<Columns>(&app);
        state.ResumeTiming();
        LoadDataFile(&app, path.c_str(), data->pointers);
        state.PauseTiming();
        if (data->pointers[0]->LineCount() != Rows)
            state.SkipWithError("wrong row count");
        data.reset();  // releasing four million lines is not part of loading
        state.ResumeTiming();
    }
    std::remove(path.c_str());
    state.counters["rows"] = Rows;
    state.counters["peak_rss_MB"] = PeakMegabytes();
}
BENCHMARK(BM_LoadDataFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);
}  // namespace
