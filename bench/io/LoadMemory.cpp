// Peak resident memory of loading a data file of one million rows into four columns,
// measured in a process of its own so nothing else inflates it.
// Usage: io_load_memory [lines|packed]   (CLineColumn, the default, or packed lines)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>

#include "bench/io/BenchData.h"
#include "app/CCompactColumn.h"
#include "core/CApplication.h"
#include "core/Variable.h"
#include "io/CLineColumn.h"
#include "io/DataFile.h"

namespace {
constexpr uint32_t Rows = 1000000;

double PeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// Writes the file from a child process, whose memory does not count here.
bool MakeFile(const std::string& path)
{
    pid_t child = fork();
    if (child == 0) {
        CApplication app;
        std::unique_ptr<CCompactColumn> held[4];
        CDataColumn* columns[4];
        for (int k = 0; k < 4; k++) {
            held[k] = std::make_unique<CCompactColumn>(&app);
            columns[k] = held[k].get();
        }
        FillColumns(columns, Rows);
        _exit(SaveDataFile(&app, path.c_str(), columns) ? 0 : 1);
    }
    int status = 1;
    waitpid(child, &status, 0);
    return status == 0;
}
}  // namespace

int main(int argc, char** argv)
{
    bool packed = argc > 1 && std::strcmp(argv[1], "packed") == 0;
    std::string path = BenchFile("memory");
    if (!MakeFile(path))
        return 1;
    std::printf("before loading: peak %.1f MB\n", PeakMegabytes());
    CApplication app;
    Variable lines[4];
    std::unique_ptr<CCompactColumn> packs[4];
    CDataColumn* columns[4];
    for (int k = 0; k < 4; k++) {
        if (packed) {
            packs[k] = std::make_unique<CCompactColumn>(&app);
            columns[k] = packs[k].get();
        } else {
            lines[k] = new CLineColumn(&app);
            columns[k] = lines[k].As<CLineColumn>();
        }
    }
    auto start = std::chrono::steady_clock::now();
    LoadDataFile(&app, path.c_str(), columns);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s columns: loaded %u rows in %.3f s, peak %.1f MB\n", packed ? "packed" : "CLineColumn",
                columns[0]->LineCount(), seconds, PeakMegabytes());
    std::remove(path.c_str());
    return 0;
}
