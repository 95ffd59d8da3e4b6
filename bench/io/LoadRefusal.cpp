// How long the program takes to refuse a 300 MB file without line feeds, as "Cargar"
// meets it: all 'a' (its count, "aaaa", cannot fit its size) and a count of 1 followed
// by 'a' (its one record runs past the longest record).
// Usage: io_load_refusal [FOLDER]   (the files are written there, then removed)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/CDataLoad.h"
#include "core/CApplication.h"

namespace {
constexpr size_t FileBytes = size_t(300) << 20;

bool WriteFile(const std::string& path, const std::string& head)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    std::vector<char> block(1 << 20, 'a');
    bool written = std::fwrite(head.data(), 1, head.size(), file) == head.size();
    for (size_t done = head.size(); written && done < FileBytes; done += block.size())
        written = std::fwrite(block.data(), 1, std::min(block.size(), FileBytes - done), file) > 0;
    return std::fclose(file) == 0 && written;
}
}  // namespace

int main(int argc, char** argv)
{
    std::string folder = argc > 1 ? argv[1] : ".";
    CApplication app;
    const struct {
        const char* what;
        std::string head;
    } files[] = {{"only 'a'", ""}, {"count 1, then 'a'", std::string("\x01\0\0\0", 4)}};
    for (const auto& file : files) {
        std::string path = folder + "/refusal.dat";
        if (!WriteFile(path, file.head))
            return 1;
        auto start = std::chrono::steady_clock::now();
        CDataLoad load(&app, path);
        if (load.Begin(path.c_str()))
            while (load.Step(40)) {
            }
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("300 MB without line feeds, %s: refused (fault %d) in %.3f s\n", file.what,
                    int(load.GetOutcome().fault), seconds);
        std::remove(path.c_str());
    }
    return 0;
}
