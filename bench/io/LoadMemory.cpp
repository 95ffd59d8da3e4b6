// Peak resident memory of loading a data file of one million rows into four columns,
// reported apart from the benchmarks so nothing else inflates it.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "bench/io/BenchData.h"
#include "core/CApplication.h"
#include "core/Variable.h"
#include "io/CLineColumn.h"
#include "io/DataFile.h"

namespace {
double PeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

void MakeColumns(CApplication* app, Variable held[4], CDataColumn* columns[4])
{
    for (int k = 0; k < 4; k++) {
        held[k] = new CLineColumn(app);
        columns[k] = held[k].As<CLineColumn>();
    }
}
}  // namespace

int main()
{
    constexpr uint32_t Rows = 1000000;
    std::string path = BenchFile("memory");
    // The file is written by a child process, so this process's peak is the load's own.
    pid_t child = fork();
    if (child == 0) {
        CApplication app;
        Variable held[4];
        CDataColumn* columns[4];
        MakeColumns(&app, held, columns);
        FillColumns(columns, Rows);
        int saved = SaveDataFile(&app, path.c_str(), columns);
        std::printf("built and saved %u rows: peak %.1f MB\n", Rows, PeakMegabytes());
        std::fflush(stdout);
        _exit(saved ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (status != 0)
        return 1;
    std::printf("before loading: peak %.1f MB\n", PeakMegabytes());
    CApplication app;
    Variable held[4];
    CDataColumn* columns[4];
    MakeColumns(&app, held, columns);
    auto start = std::chrono::steady_clock::now();
    LoadDataFile(&app, path.c_str(), columns);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("loaded %u rows in %.3f s: peak %.1f MB\n", columns[0]->LineCount(), seconds, PeakMegabytes());
    std::remove(path.c_str());
    return 0;
}
