// Writes a data file of N rows (default 1,000,000) of lab-like numbers.
#include <cstdio>
#include <cstdlib>

#include "app/CCompactColumn.h"
#include "core/CApplication.h"
#include "io/DataFile.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fputs("usage: make-fit-data FILE [ROWS]\n", stderr);
        return 2;
    }
    long rows = argc > 2 ? std::atol(argv[2]) : 1000000;
    auto* app = new CApplication();
    {
        CCompactColumn x(app), ex(app), y(app), ey(app);
        CDataColumn* const columns[4] = {&x, &ex, &y, &ey};
        char cell[64];
        for (long i = 0; i < rows; i++) {
            double u = 20.0 + i * 0.001;
            double values[4] = {u, 0.005, 3.2 * u - 1.7 + ((i * 7919) % 101 - 50) * 0.002, 0.05 + (i % 3) * 0.01};
            for (int c = 0; c < 4; c++) {
                int n = std::snprintf(cell, sizeof cell, "%.10G", values[c]);
                columns[c]->AddLine(cell, static_cast<uint32_t>(n));
            }
        }
        for (CDataColumn* c : columns)
            c->DeleteFirstLine();
        if (!SaveDataFile(app, argv[1], columns)) {
            std::fprintf(stderr, "make-fit-data: cannot write %s\n", argv[1]);
            return 1;
        }
    }
    app->Shutdown();
    delete app;
    return 0;
}
