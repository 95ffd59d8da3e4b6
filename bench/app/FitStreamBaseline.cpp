// The streaming parse limit of a fit of a text file "x y e" per line: 64 KiB blocks,
// std::from_chars at the cursor, blanks or commas between numbers, the plain sums of
// the weighted fit formed as the numbers come. Constant memory, no framework, no checks
// beyond what the conversion needs: what a reader that keeps nothing can reach.
#include <charconv>
#include <cstdio>
#include <cstring>

namespace {
constexpr size_t BlockSize = 1 << 16;

struct Sums {
    double value[3] = {}, rows = 0, sw = 0, swx = 0, swy = 0, swxx = 0, swxy = 0;
    int field = 0;

    void Add(double v)
    {
        value[field] = v;
        if (++field < 3)
            return;
        field = 0;
        double w = 1.0 / (value[2] * value[2]);
        rows++;
        sw += w;
        swx += w * value[0];
        swy += w * value[1];
        swxx += w * value[0] * value[0];
        swxy += w * value[0] * value[1];
    }
};

bool IsSeparator(char c) { return c == ' ' || c == '\n' || c == '\t' || c == '\r' || c == ','; }

// Reads the numbers of [p, end); returns where an unfinished number starts, or null on a
// number that cannot be read.
const char* Numbers(const char* p, const char* end, Sums& sums)
{
    while (p < end) {
        if (IsSeparator(*p)) {
            p++;
            continue;
        }
        double v;
        auto read = std::from_chars(p, end, v);
        if (read.ec != std::errc())
            return nullptr;
        sums.Add(v);
        p = read.ptr;
    }
    return p;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    std::FILE* f = std::fopen(argv[1], "rb");
    if (!f)
        return 2;
    static char block[BlockSize + 1];
    Sums sums;
    size_t kept = 0;
    for (;;) {
        size_t n = std::fread(block + kept, 1, BlockSize - kept, f);
        size_t size = kept + n;
        if (n == 0) {
            if (size && !Numbers(block, block + size, sums))
                return 1;
            break;
        }
        // Only whole lines: a number cut by the block's end waits for the next block.
        const char* last = block + size;
        while (last > block && last[-1] != '\n')
            last--;
        if (last == block) {
            if (size == BlockSize)
                return 1;  // a line longer than a block
            kept = size;
            continue;
        }
        if (!Numbers(block, last, sums))
            return 1;
        kept = static_cast<size_t>(block + size - last);
        std::memmove(block, last, kept);
    }
    std::fclose(f);
    double delta = sums.sw * sums.swxx - sums.swx * sums.swx;
    std::printf("N\t%.0f\nA\t%.17G\nB\t%.17G\n", sums.rows, (sums.sw * sums.swxy - sums.swx * sums.swy) / delta,
                (sums.swy * sums.swxx - sums.swx * sums.swxy) / delta);
    return 0;
}
