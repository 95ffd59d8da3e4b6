// The program as a person meets it, on a private Xvfb: how long from start until the
// main window is drawn, how long "Ajuste Simple" takes on 100,000 loaded rows until the
// result window and the plot are on the screen, and what the program costs while it
// waits with its windows open. The program runs as a process of its own and is driven
// through the X server; "drawn" means the screen has reached the picture it keeps.
#include <benchmark/benchmark.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/x11/PX11Driver.h"
#include "platform/x11/PXvfbServer.h"

namespace {
namespace fs = std::filesystem;
using namespace std::chrono;

// The main window's frame on a 1024 × 768 screen, and its client area (a 20-pixel title
// bar with the default font; the benchmark checks it by the screen).
constexpr int MainX = 212, MainY = 144, FrameWidth = 604, FrameHeight = 504;
constexpr int ClientX = MainX + 2, ClientY = MainY + 22;

platform::PXvfbServer& Server()
{
    static platform::PXvfbServer server;
    static bool started = server.Start(1024, 768) != 0;
    (void)started;
    return server;
}

// Writes a data file of the program: the row count, then "x;ex;y;ey;" records.
void WriteDataFile(const fs::path& path, uint32_t rows)
{
    std::ofstream out(path, std::ios::binary);
    unsigned char count[4] = {uint8_t(rows), uint8_t(rows >> 8), uint8_t(rows >> 16), uint8_t(rows >> 24)};
    out.write(reinterpret_cast<const char*>(count), 4);
    for (uint32_t i = 0; i < rows; i++)
        out << i * 0.5 << ";0.1;" << 2.0 * i + 1 + (i % 7) * 0.01 << ";0." << 1 + i % 5 << ";\n";
}

// One run of the program in a folder of its own holding "Dades".
class Program {
public:
    explicit Program(uint32_t rows)
    {
        char pattern[] = "/tmp/ajustor-bench-XXXXXX";
        folder = mkdtemp(pattern) ? pattern : "";
        fs::create_directory(folder / "Dades");
        if (rows)
            WriteDataFile(folder / "Dades" / "datos.dat", rows);
        driver.Open(Server().GetDisplayName().c_str());
    }
    ~Program()
    {
        Stop();
        if (!folder.empty())
            fs::remove_all(folder);
    }

    void Start()
    {
        pid = fork();
        if (pid == 0) {
            setenv("DISPLAY", Server().GetDisplayName().c_str(), 1);
            setenv("XDG_STATE_HOME", (folder / "estado").c_str(), 1);  // its recovery files
            if (chdir(folder.c_str()) == 0)
                execl(AJUSTOR_PROGRAM, "ajustor", static_cast<char*>(nullptr));
            _exit(127);
        }
    }

    void Stop()
    {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            pid = -1;
        }
    }

    // Seconds from `since` until the screen (or a part of it) took the picture it then
    // kept for `quiet`: the time the program needed to draw it.
    double UntilStill(steady_clock::time_point since, milliseconds quiet, int x = 0, int y = 0, int w = 1024,
                      int h = 768)
    {
        unsigned long long last = driver.ScreenHash(x, y, w, h);
        auto changed = steady_clock::now();
        while (steady_clock::now() - changed < quiet) {
            std::this_thread::sleep_for(milliseconds(1));
            unsigned long long now = driver.ScreenHash(x, y, w, h);
            if (now != last) {
                last = now;
                changed = steady_clock::now();
            }
        }
        return duration<double>(changed - since).count();
    }

    void Click(int x, int y)
    {
        driver.MovePointer(ClientX + x, ClientY + y);
        driver.Button(1, true);
        driver.Button(1, false);
        driver.Sync();
    }

    void ClickAt(int screenX, int screenY)
    {
        driver.MovePointer(screenX, screenY);
        driver.Button(1, true);
        driver.Button(1, false);
        driver.Sync();
    }

    void Type(const std::string& text)
    {
        for (char c : text)
            driver.TypeKeySymbol(static_cast<unsigned char>(c));
        driver.Sync();
    }

    // "Cargar" with the chooser's name field: the folder it shows, then the name.
    void Load(const std::string& name)
    {
        Click(8 + 74, 58 + 24);
        UntilStill(steady_clock::now(), milliseconds(300));
        Type("/" + name);
        ClickAt(128 + 2 + 209 + 82, 64 + 22 + 330 + 11);  // the chooser's "O.k"
        UntilStill(steady_clock::now(), milliseconds(500));
    }

    // Processor seconds the program has used, and its resident and peak memory.
    double CpuSeconds() const
    {
        std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
        std::string field;
        std::vector<std::string> fields;
        while (in >> field)
            fields.push_back(field);
        if (fields.size() < 15)
            return 0;
        return (std::stod(fields[13]) + std::stod(fields[14])) / double(sysconf(_SC_CLK_TCK));
    }
    double MemoryMiB(const char* key) const
    {
        std::ifstream in("/proc/" + std::to_string(pid) + "/status");
        for (std::string line; std::getline(in, line);)
            if (line.rfind(key, 0) == 0)
                return std::atof(line.c_str() + std::strlen(key)) / 1024.0;
        return 0;
    }

    platform::PX11Driver driver;
    fs::path folder;
    pid_t pid = -1;
};

void StartToMainWindowDrawn(benchmark::State& state)
{
    if (Server().GetDisplayName().empty()) {
        state.SkipWithError("no Xvfb");
        return;
    }
    for (auto _ : state) {
        Program program(0);
        auto start = steady_clock::now();
        program.Start();
        state.SetIterationTime(program.UntilStill(start, milliseconds(1500), MainX, MainY, FrameWidth, FrameHeight));
        program.Stop();
    }
}
BENCHMARK(StartToMainWindowDrawn)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// From the click on "Ajuste Simple" until the result window and the plot are drawn.
void SimpleFitOnLoadedRows(benchmark::State& state)
{
    if (Server().GetDisplayName().empty()) {
        state.SkipWithError("no Xvfb");
        return;
    }
    Program program(uint32_t(state.range(0)));
    program.Start();
    program.UntilStill(steady_clock::now(), milliseconds(1000));
    program.Load("datos.dat");
    for (auto _ : state) {
        auto click = steady_clock::now();
        program.Click(8 + 74, 394 + 19);
        state.SetIterationTime(program.UntilStill(click, milliseconds(1500)));
        // Out of the way for the next round: the result window, then the plot.
        program.ClickAt(64 + 684 - 20 + 2 + 6, 64 + 11);
        program.ClickAt(128 + 809 - 20 + 2 + 6, 128 + 11);
        program.UntilStill(steady_clock::now(), milliseconds(500));
    }
    state.counters["resident_MiB"] = program.MemoryMiB("VmRSS:");
}
BENCHMARK(SimpleFitOnLoadedRows)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// Ten seconds with the main window (holding example data), a result window, its plot
// and the about window open and nothing pressed.
void IdleWithWindowsOpen(benchmark::State& state)
{
    if (Server().GetDisplayName().empty()) {
        state.SkipWithError("no Xvfb");
        return;
    }
    Program program(6);
    program.Start();
    program.UntilStill(steady_clock::now(), milliseconds(1000));
    program.Load("datos.dat");
    program.Click(46 + 36, 234 + 36);  // the about window, before the fit's windows cover the button
    program.UntilStill(steady_clock::now(), milliseconds(500));
    program.Click(8 + 74, 394 + 19);
    program.UntilStill(steady_clock::now(), milliseconds(500));
    for (auto _ : state) {
        double cpu = program.CpuSeconds();
        auto start = steady_clock::now();
        std::this_thread::sleep_for(seconds(10));
        double wall = duration<double>(steady_clock::now() - start).count();
        state.counters["cpu_percent"] = 100.0 * (program.CpuSeconds() - cpu) / wall;
    }
    state.counters["resident_MiB"] = program.MemoryMiB("VmRSS:");
    state.counters["peak_MiB"] = program.MemoryMiB("VmHWM:");
}
BENCHMARK(IdleWithWindowsOpen)->Iterations(1)->Unit(benchmark::kSecond);
}  // namespace
