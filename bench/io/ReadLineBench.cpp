#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench/io/BenchData.h"
#include "core/CApplication.h"
#include "core/CString.h"
#include "core/Variable.h"
#include "io/CFile.h"

namespace {
constexpr long FileBytes = 64L << 20;

// Lines of 28 bytes, as a data file's records are.
std::string MakeLineFile()
{
    std::string path = BenchFile("lines");
    std::FILE* f = std::fopen(path.c_str(), "wb");
    const char line[] = "12.345678;0.05;31.564195;0.1;\n";
    for (long written = 0; written < FileBytes; written += sizeof line - 1)
        std::fwrite(line, 1, sizeof line - 1, f);
    std::fclose(f);
    return path;
}

// The shared ReadLine: a new string for every line, as its callers receive it.
void BM_ReadLineCFile(benchmark::State& state)
{
    CApplication app;
    std::string path = MakeLineFile();
    long bytes = 0;
    for (auto _ : state) {
        Variable file(new CFile(&app));
        file.As<CFile>()->OpenRead(path.c_str());
        while (CString* line = file.As<CFile>()->ReadLine()) {
            Variable hold(line);
            bytes += line->GetLength() + 1;
        }
    }
    state.SetBytesProcessed(bytes);
    std::remove(path.c_str());
}
BENCHMARK(BM_ReadLineCFile)->Unit(benchmark::kMillisecond);

// Reading into one string, as the data-file loader does.
void BM_ReadLineIntoCFile(benchmark::State& state)
{
    CApplication app;
    std::string path = MakeLineFile();
    long bytes = 0;
    for (auto _ : state) {
        Variable file(new CFile(&app));
        Variable line(new CString(&app));
        file.As<CFile>()->OpenRead(path.c_str());
        while (file.As<CFile>()->ReadLineInto(line.As<CString>()))
            bytes += line.As<CString>()->GetLength() + 1;
    }
    state.SetBytesProcessed(bytes);
    std::remove(path.c_str());
}
BENCHMARK(BM_ReadLineIntoCFile)->Unit(benchmark::kMillisecond);
}  // namespace
