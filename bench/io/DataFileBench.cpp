// Saving and loading a data file of a million rows, into columns of two kinds: string
// lines (CLineColumn, one framework string per cell, as the window's editors keep them)
// and packed lines (the procedures' own cost, storage aside).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <memory>

#include "bench/io/BenchData.h"
#include "app/CCompactColumn.h"
#include "core/CApplication.h"
#include "core/Variable.h"
#include "io/CLineColumn.h"
#include "io/DataFile.h"

namespace {
constexpr uint32_t Rows = 1000000;

struct LineColumns {
    explicit LineColumns(CApplication* app)
    {
        for (int k = 0; k < 4; k++) {
            held[k] = new CLineColumn(app);
            pointers[k] = held[k].As<CLineColumn>();
        }
    }
    Variable held[4];
    CDataColumn* pointers[4];
};

struct PackedColumns {
    explicit PackedColumns(CApplication* app)
    {
        for (int k = 0; k < 4; k++) {
            held[k] = std::make_unique<CCompactColumn>(app);
            pointers[k] = held[k].get();
        }
    }
    std::unique_ptr<CCompactColumn> held[4];
    CDataColumn* pointers[4];
};

template <class Columns>
void BM_SaveDataFile(benchmark::State& state)
{
    CApplication app;
    auto data = std::make_unique<Columns>(&app);
    FillColumns(data->pointers, Rows);
    std::string path = BenchFile("save");
    for (auto _ : state)
        if (!SaveDataFile(&app, path.c_str(), data->pointers))
            state.SkipWithError("save failed");
    std::FILE* f = std::fopen(path.c_str(), "rb");
    std::fseek(f, 0, SEEK_END);
    state.SetBytesProcessed(state.iterations() * std::ftell(f));
    std::fclose(f);
    std::remove(path.c_str());
    data.reset();
}
BENCHMARK(BM_SaveDataFile<LineColumns>)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SaveDataFile<PackedColumns>)->Unit(benchmark::kMillisecond)->MinTime(2.0);

template <class Columns>
void BM_LoadDataFile(benchmark::State& state)
{
    CApplication app;
    std::string path = BenchFile("load");
    {
        PackedColumns source(&app);
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
}
BENCHMARK(BM_LoadDataFile<LineColumns>)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LoadDataFile<PackedColumns>)->Unit(benchmark::kMillisecond)->MinTime(2.0);
}  // namespace
