// The parse limit of a fit of a text file "x y e" per line: read the whole file, convert
// every number with std::from_chars, form the plain sums of the weighted fit in one
// pass. No framework, no checks beyond what the conversion needs, no texts of results.
#include <charconv>
#include <cstdio>
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
    const char* p = bytes.data();
    const char* end = p + bytes.size();
    double value[3], rows = 0, sw = 0, swx = 0, swy = 0, swxx = 0, swxy = 0;
    int field = 0;
    while (p < end) {
        if (*p == ' ' || *p == '\n' || *p == '\t' || *p == '\r') {
            p++;
            continue;
        }
        auto read = std::from_chars(p, end, value[field]);
        if (read.ec != std::errc())
            return 1;
        p = read.ptr;
        if (++field == 3) {
            field = 0;
            double w = 1.0 / (value[2] * value[2]);
            rows++;
            sw += w;
            swx += w * value[0];
            swy += w * value[1];
            swxx += w * value[0] * value[0];
            swxy += w * value[0] * value[1];
        }
    }
    double delta = sw * swxx - swx * swx;
    std::printf("N\t%.0f\nA\t%.17G\nB\t%.17G\n", rows, (sw * swxy - swx * swy) / delta,
                (swy * swxx - swx * swxy) / delta);
    return 0;
}
