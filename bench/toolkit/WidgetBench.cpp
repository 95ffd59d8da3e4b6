// Costs of the text widgets on the headless desktop: a ring of four columns and a
// scroller holding many rows, as in the main window. Each measured step runs the loop
// until the change has reached the windows. Also the load of a million-row data file
// into four columns, with the process's peak resident memory as a counter (run it
// alone for a clean peak: --benchmark_filter=LoadMillionRows), and a block of rows
// pasted with Control+V, with the time the X11 backend takes to read such a block
// from xclip (on a private Xvfb).
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "core/CString.h"
#include "core/Variable.h"
#include "io/DataFile.h"
#include "platform/headless/PHeadlessSystem.h"
#include "platform/x11/PX11System.h"
#include "platform/x11/PXvfbServer.h"
#include "tests/common/DesktopLoop.h"
#include "toolkit/CEditBox.h"
#include "toolkit/CGApplication.h"
#include "toolkit/CScroller.h"
#include "toolkit/CTextEdit.h"
#include "toolkit/CWindow.h"

using namespace platform;

namespace {
constexpr int Left = 100, Top = 60;
constexpr int ColumnH = 448;

double PeakMebibytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// The main window's columns and scroller on a desktop of their own.
class Ring {
public:
    explicit Ring(uint32_t rows)
    {
        previous = InstallWindowSystem(&desktop);
        app = new CGApplication();
        app->Initialise();
        auto* window = new CWindow(app);
        parent = window;
        window->Create(Left, Top, 600, 480, nullptr, NoTitle, 255, 236, 192);
        for (int k = 0; k < 4; k++) {
            columns[k] = new CTextEdit(app);
            held[k] = columns[k];
            columns[k]->Create(168 + 100 * k, 24, 101, ColumnH, window, NoTitle, 255, 236, 192);
            for (uint32_t i = 1; i < rows; i++)
                columns[k]->AddLine("3.14159", 7);
        }
        scroller = new CScroller(app);
        held[4] = scroller;
        scroller->Create(568, 24, 16, ColumnH, window, NoTitle, 255, 236, 192);
        for (int k = 0; k < 3; k++)
            columns[k]->SetNext(columns[k + 1]);
        columns[3]->SetNext(scroller);
        scroller->SetNext(columns[0]);
        window->Show();
        for (CTextEdit* column : columns)
            column->Show();
        scroller->Show();
        scroller->SetCurrentRow(rows / 2);
        desktop.Click(Left + 168 + 50, Top + 24 + 5);
        Pump();
    }

    ~Ring()
    {
        for (Variable& h : held)
            h.Clear();
        parent.Clear();
        app->Cleanup();
        delete app;
        InstallWindowSystem(previous);
    }

    void Pump() { PumpDesktop(app, desktop); }

    void Key(uint32_t vk, uint32_t character = 0)
    {
        desktop.TypeKey(vk, character);
        Pump();
    }

    PHeadlessSystem desktop;
    PWindowSystem* previous = nullptr;
    CGApplication* app = nullptr;
    Variable parent;
    Variable held[5];
    CTextEdit* columns[4] = {};
    CScroller* scroller = nullptr;
};

void TypedCharacter(benchmark::State& state)
{
    Ring ring(uint32_t(state.range(0)));
    CEditBox* editor = ring.columns[0]->GetEditor();
    ring.Key('5', '5');
    if (ring.app->activeWindow != editor || editor->GetText()->GetLength() != 8)
        state.SkipWithError("the key did not reach the editor");
    for (auto _ : state) {
        ring.Key('5', '5');
        ring.Key(VK_BACK, 8);
    }
    state.SetLabel("a character typed and erased; both reach the canvas");
}
BENCHMARK(TypedCharacter)->Arg(100000)->Unit(benchmark::kMillisecond);

void DownAndUp(benchmark::State& state)
{
    Ring ring(uint32_t(state.range(0)));
    for (auto _ : state) {
        ring.Key(VK_DOWN);
        ring.Key(VK_UP);
    }
    state.SetLabel("two moves of all four columns");
}
BENCHMARK(DownAndUp)->Arg(100000)->Unit(benchmark::kMillisecond);

void EnterOnTheLastRow(benchmark::State& state)
{
    Ring ring(uint32_t(state.range(0)));
    ring.scroller->SetCurrentRow(ring.columns[0]->GetLineCount() - 1);
    for (auto _ : state)
        ring.Key(VK_RETURN, 13);
    state.SetLabel("a row added to all four columns, all moved to it");
}
BENCHMARK(EnterOnTheLastRow)->Arg(100000)->Unit(benchmark::kMillisecond);

void EnterInTheMiddle(benchmark::State& state)
{
    Ring ring(uint32_t(state.range(0)));
    for (auto _ : state) {
        ring.Key(VK_RETURN, 13);
        if (ring.columns[0]->GetCurrentRow() + 2 >= ring.columns[0]->GetLineCount())
            ring.scroller->SetCurrentRow(0);
    }
}
BENCHMARK(EnterInTheMiddle)->Arg(100000)->Unit(benchmark::kMillisecond);

void ScrollerDragStep(benchmark::State& state)
{
    Ring ring(uint32_t(state.range(0)));
    int x = Left + 568 + 8;
    int y = Top + 24 + ColumnH / 2;
    ring.desktop.MovePointer(x, y);
    ring.desktop.PressButton(PHeadlessSystem::Left);
    ring.Pump();
    int step = 0;
    for (auto _ : state) {
        ring.desktop.MovePointer(x, y + (step++ % 2 == 0 ? 3 : 0));
        ring.desktop.AdvanceClock(30);
        ring.Pump();
    }
    ring.desktop.ReleaseButton(PHeadlessSystem::Left);
    ring.Pump();
    state.SetLabel("pointer moved, one timer tick: ring moved and drawn");
}
BENCHMARK(ScrollerDragStep)->Arg(100000)->Unit(benchmark::kMillisecond);

// The same draw for a short and a long column: only the visible rows are touched.
void DrawColumn(benchmark::State& state)
{
    Ring ring(uint32_t(state.range(0)));
    for (auto _ : state)
        ring.columns[0]->Draw();
}
BENCHMARK(DrawColumn)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);

// Written straight to the file, so the rows cost this process nothing before the load.
std::string MakeMillionRowFile(uint32_t rows)
{
    std::string path = "/tmp/widget-bench-" + std::to_string(getpid()) + ".dat";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return std::string();
    unsigned char count[4] = {uint8_t(rows), uint8_t(rows >> 8), uint8_t(rows >> 16), uint8_t(rows >> 24)};
    std::fwrite(count, 1, 4, file);
    for (uint32_t i = 0; i < rows; i++)
        std::fprintf(file, "%u.%03u;0.%u;%u.%u;0.0%u;\n", i, i % 1000, i % 7 + 1, 2 * i, i % 10, i % 9 + 1);
    std::fclose(file);
    return path;
}

void LoadMillionRows(benchmark::State& state)
{
    auto rows = uint32_t(state.range(0));
    std::string path = MakeMillionRowFile(rows);
    if (path.empty()) {
        state.SkipWithError("cannot write the data file");
        return;
    }
    Ring ring(1);
    CDataColumn* data[4] = {ring.columns[0], ring.columns[1], ring.columns[2], ring.columns[3]};
    for (auto _ : state) {
        LoadDataFile(ring.app, path.c_str(), data);
        state.PauseTiming();
        if (ring.columns[3]->GetLineCount() != rows)
            state.SkipWithError("rows missing");
        state.ResumeTiming();
    }
    std::remove(path.c_str());
    state.counters["peak_MiB"] = PeakMebibytes();
    state.counters["rows"] = rows;
}
BENCHMARK(LoadMillionRows)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

// Four cells a row, tabs between them and a line feed after each: 28 bytes a row, as
// a spreadsheet copies them.
std::string MakeBlock(uint32_t rows)
{
    std::string block;
    block.reserve(size_t(rows) * 28);
    char row[64];
    for (uint32_t i = 0; i < rows; i++) {
        int n = std::snprintf(row, sizeof row, "%06u.%02u\t0.%u\t%06u.%u\t0.0%u\n", i, i % 100, i % 7 + 1, 2 * i,
                              i % 10, i % 9 + 1);
        block.append(row, size_t(n));
    }
    return block;
}

// Control+V in the first column of an empty ring: the block reaches all four columns.
void PasteRows(benchmark::State& state)
{
    auto rows = uint32_t(state.range(0));
    std::string block = MakeBlock(rows);
    Ring ring(1);
    for (auto _ : state) {
        state.PauseTiming();
        for (CTextEdit* column : ring.columns)
            column->Clear();
        ring.desktop.SetClipboardText(block.data(), block.size());
        state.ResumeTiming();
        ring.desktop.PressKey(VK_CONTROL);
        ring.desktop.TypeKey('V', 22);
        ring.desktop.ReleaseKey(VK_CONTROL);
        ring.Pump();
        state.PauseTiming();
        if (ring.columns[3]->GetLineCount() != rows)
            state.SkipWithError("rows missing");
        state.ResumeTiming();
    }
    state.counters["MB"] = double(block.size()) / 1e6;
    state.counters["rows"] = rows;
}
BENCHMARK(PasteRows)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The block read whole from xclip, which offers it in pieces (INCR).
void ClipboardFromXclip(benchmark::State& state)
{
    std::string block = MakeBlock(uint32_t(state.range(0)));
    platform::PXvfbServer server;
    std::unique_ptr<platform::PX11System> system;
    if (!server.Start() || !(system = platform::PX11System::Open(server.GetDisplayName().c_str()))) {
        state.SkipWithError("no X server");
        return;
    }
    int in[2];
    if (pipe(in) != 0)
        return;
    pid_t xclip = fork();
    if (xclip == 0) {
        dup2(in[0], 0);
        close(in[1]);
        int quiet = open("/dev/null", O_WRONLY);  // it tells of every request it serves
        dup2(quiet, 1);
        dup2(quiet, 2);
        setenv("DISPLAY", server.GetDisplayName().c_str(), 1);
        execlp("xclip", "xclip", "-quiet", "-selection", "clipboard", "-i", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(in[0]);
    bool fed = write(in[1], block.data(), block.size()) == ssize_t(block.size());
    close(in[1]);
    std::string text;
    for (int attempt = 0; fed && attempt < 100 && text.size() != block.size(); attempt++) {
        usleep(50000);
        system->GetClipboardText(text);
    }
    if (text.size() != block.size())
        state.SkipWithError("xclip does not offer the block");
    for (auto _ : state) {
        text.clear();
        if (system->GetClipboardText(text) != 1 || text.size() != block.size())
            state.SkipWithError("the block did not arrive whole");
    }
    kill(xclip, SIGTERM);
    waitpid(xclip, nullptr, 0);
    state.counters["MB"] = double(block.size()) / 1e6;
}
BENCHMARK(ClipboardFromXclip)->Arg(100000)->Unit(benchmark::kMillisecond);
}  // namespace
