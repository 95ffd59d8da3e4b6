#include "bench/io/BenchData.h"

#include <unistd.h>

#include <cstdio>

void FillColumns(CDataColumn* const columns[4], uint32_t rows)
{
    char cell[64];
    for (uint32_t i = 0; i < rows; i++) {
        double x = i * 0.125 + 1.0;
        const double values[4] = {x, 0.05, 2.5 * x + 0.7 + (i % 7) * 0.01, 0.1 + (i % 3) * 0.05};
        for (int k = 0; k < 4; k++) {
            int n = std::snprintf(cell, sizeof cell, "%.8G", values[k]);
            columns[k]->AddLine(cell, static_cast<uint32_t>(n));
        }
    }
    for (int k = 0; k < 4; k++)
        columns[k]->DeleteFirstLine();
}

std::string BenchFile(const char* stem) { return std::string("/tmp/ajustor-bench-") + stem + "-" + std::to_string(getpid()); }
