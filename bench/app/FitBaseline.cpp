// The least a simple fit of a data file costs: read the file, convert the x and y cells
// with strtod, two passes of the sums. No framework, no texts of results.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    std::FILE* f = std::fopen(argv[1], "rb");
    if (!f)
        return 2;
    std::vector<char> bytes;
    char chunk[1 << 16];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    std::fclose(f);
    bytes.push_back('\0');
    std::vector<double> xs, ys;
    for (char* p = bytes.data() + 4; *p;) {
        double cell[4];
        for (double& c : cell) {
            c = std::strtod(p, &p);
            p = std::strchr(p, ';');
            if (!p)
                break;
            p++;
        }
        if (!p)
            break;
        xs.push_back(cell[0]);
        ys.push_back(cell[2]);
        p = std::strchr(p, '\n');
        if (!p)
            break;
        p++;
    }
    double N = static_cast<double>(xs.size()), sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (size_t i = 0; i < xs.size(); i++) {
        sx += xs[i];
        sy += ys[i];
        sxx += xs[i] * xs[i];
        sxy += xs[i] * ys[i];
    }
    double delta = N * sxx - sx * sx;
    double a = (N * sxy - sx * sy) / delta, b = (sy * sxx - sx * sxy) / delta, s = 0;
    for (size_t i = 0; i < xs.size(); i++)
        s += (a * xs[i] + b - ys[i]) * (a * xs[i] + b - ys[i]);
    std::printf("N\t%.0f\nA\t%.17G\nB\t%.17G\nS\t%.17G\n", N, a, b, s);
    return 0;
}
