// Runs commands in alternation, round after round, and prints for each the median wall
// and processor time and the peak memory: on a busy machine every command meets the
// same load, so their ratios hold where single timings do not. Standard output of the
// commands goes to the null device.
// Usage: paired-runs ROUNDS LIST, LIST holding one "label|program arg arg..." per line.
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {
struct Command {
    std::string label;
    std::vector<std::string> arguments;
    std::vector<double> wall, cpu;  // one per round
    long peakKiB = 0;
    bool failed = false;
};

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void RunOnce(Command& c)
{
    std::vector<char*> argv;
    for (auto& a : c.arguments)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 1);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        c.failed = true;
    c.wall.push_back(wall);
    c.cpu.push_back(double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                    double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6);
    c.peakKiB = std::max(c.peakKiB, usage.ru_maxrss);
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: paired-runs ROUNDS LIST  (LIST: \"label|program arg...\" per line)\n", stderr);
        return 2;
    }
    int rounds = std::atoi(argv[1]);
    std::ifstream list(argv[2]);
    std::vector<Command> commands;
    for (std::string line; std::getline(list, line);) {
        size_t bar = line.find('|');
        if (line.empty() || bar == std::string::npos)
            continue;
        Command c;
        c.label = line.substr(0, bar);
        std::istringstream words(line.substr(bar + 1));
        for (std::string w; words >> w;)
            c.arguments.push_back(w);
        commands.push_back(c);
    }
    if (commands.empty() || rounds < 1)
        return 2;
    // Each round starts one command later, so none always runs first after a pause.
    for (int r = 0; r < rounds; r++)
        for (size_t i = 0; i < commands.size(); i++)
            RunOnce(commands[(i + size_t(r)) % commands.size()]);
    // Ratios are taken within a round, between runs that met the same load.
    std::printf("%-44s %8s %8s %9s %9s %8s\n", "", "wall ms", "cpu ms", "peak MiB", "wall/1st", "cpu/1st");
    int status = 0;
    for (auto& c : commands) {
        std::vector<double> wallRatio, cpuRatio;
        for (int r = 0; r < rounds; r++) {
            wallRatio.push_back(c.wall[size_t(r)] / commands[0].wall[size_t(r)]);
            cpuRatio.push_back(c.cpu[size_t(r)] / std::max(commands[0].cpu[size_t(r)], 1e-6));
        }
        std::printf("%-44s %8.1f %8.1f %9.1f %9.2f %8.2f%s\n", c.label.c_str(), Median(c.wall) * 1e3,
                    Median(c.cpu) * 1e3, double(c.peakKiB) / 1024, Median(wallRatio), Median(cpuRatio),
                    c.failed ? "  (failed)" : "");
        if (c.failed)
            status = 1;
    }
    return status;
}
