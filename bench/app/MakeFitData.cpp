// Writes N rows (default 1,000,000) of lab-like numbers: a data file of the program, or
// with --text a plain text file of "x y e" lines, with --text4 of "x ex y ey" lines.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/CCompactColumn.h"
#include "core/CApplication.h"
#include "io/DataFile.h"

namespace {
void RowValues(long i, double values[4])
{
    double u = 20.0 + i * 0.001;
    values[0] = u;
    values[1] = 0.005;
    values[2] = 3.2 * u - 1.7 + ((i * 7919) % 101 - 50) * 0.002;
    values[3] = 0.05 + (i % 3) * 0.01;
}

int WriteText(const char* path, long rows, bool errorsOfX)
{
    std::FILE* f = std::fopen(path, "wb");
    if (!f)
        return 1;
    for (long i = 0; i < rows; i++) {
        double v[4];
        RowValues(i, v);
        if (errorsOfX)
            std::fprintf(f, "%.10G %.10G %.10G %.10G\n", v[0], v[1], v[2], v[3]);
        else
            std::fprintf(f, "%.10G %.10G %.10G\n", v[0], v[2], v[3]);
    }
    return std::fclose(f) == 0 ? 0 : 1;
}

int WriteDataFile(const char* path, long rows)
{
    auto* app = new CApplication();
    int status = 0;
    {
        CCompactColumn x(app), ex(app), y(app), ey(app);
        CDataColumn* const columns[4] = {&x, &ex, &y, &ey};
        char cell[64];
        for (long i = 0; i < rows; i++) {
            double v[4];
            RowValues(i, v);
            for (int c = 0; c < 4; c++) {
                int n = std::snprintf(cell, sizeof cell, "%.10G", v[c]);
                columns[c]->AddLine(cell, static_cast<uint32_t>(n));
            }
        }
        for (CDataColumn* c : columns)
            c->DeleteFirstLine();
        status = SaveDataFile(app, path, columns) ? 0 : 1;
    }
    app->Shutdown();
    delete app;
    return status;
}
}  // namespace

int main(int argc, char** argv)
{
    bool four = argc > 1 && std::strcmp(argv[1], "--text4") == 0;
    bool text = four || (argc > 1 && std::strcmp(argv[1], "--text") == 0);
    int first = text ? 2 : 1;
    if (argc <= first) {
        std::fputs("usage: make-fit-data [--text | --text4] FILE [ROWS]\n", stderr);
        return 2;
    }
    long rows = argc > first + 1 ? std::atol(argv[first + 1]) : 1000000;
    int status = text ? WriteText(argv[first], rows, four) : WriteDataFile(argv[first], rows);
    if (status != 0)
        std::fprintf(stderr, "make-fit-data: cannot write %s\n", argv[first]);
    return status;
}
