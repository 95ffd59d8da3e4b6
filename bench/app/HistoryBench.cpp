// The data set's history and recovery file on the in-memory desktop: undo of "Nuevo"
// on a million rows, the memory 100 single-cell edits of a million-row set keep, and
// writing the recovery file of 100,000 rows.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

#include "app/AjustorProgram.h"
#include "app/CCompactColumn.h"
#include "app/CMainw.h"
#include "app/CRecoveryFile.h"
#include "platform/headless/PHeadlessSystem.h"
#include "tests/common/DesktopLoop.h"
#include "toolkit/CGApplication.h"
#include "toolkit/CTextEdit.h"
#include "toolkit/CTextEditRing.h"

namespace {
namespace fs = std::filesystem;

// The main window on an in-memory desktop, holding `rows` rows of four numbers.
class Desk {
public:
    explicit Desk(uint32_t rows)
    {
        PrepareAjustor();
        previous = platform::InstallWindowSystem(&desktop);
        app = new CGApplication();
        app->Initialise();
        window = OpenMainWindow(app, "sin-imagenes");
        PumpDesktop(app, desktop);
        CCompactColumn x(app), ex(app), y(app), ey(app);
        CCompactColumn* all[4] = {&x, &ex, &y, &ey};
        for (uint32_t i = 0; i < rows; i++)
            for (int k = 0; k < 4; k++) {
                std::string cell = std::to_string(i * 4 + k) + ".25";
                all[k]->AddLine(cell.data(), uint32_t(cell.size()));
            }
        for (CCompactColumn* column : all)
            column->DeleteFirstLine();
        CDataColumn* set[4] = {&x, &ex, &y, &ey};
        Main()->ReplaceDataSet(set, "", false);
    }
    ~Desk()
    {
        window.Clear();
        app->Cleanup();
        delete app;
        platform::InstallWindowSystem(previous);
    }
    CMainw* Main() const { return window.As<CMainw>(); }
    void Click(const Variable& button)
    {
        CEvent click;
        click.type = EV_CLICK;
        click.source = button.Get();
        Main()->HandleEvent(click);
    }
    // A cell typed and confirmed, the next row then current.
    void EditCell(const char* text)
    {
        desktop.TypeKey(text[0], uint8_t(text[0]));
        desktop.TypeKey(platform::VK_RETURN, 13);
        PumpDesktop(app, desktop);
    }

    platform::PHeadlessSystem desktop;
    platform::PWindowSystem* previous = nullptr;
    CGApplication* app = nullptr;
    Variable window;
};

size_t HeapInUse()
{
    struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

void BM_UndoNewOnAMillionRows(benchmark::State& state)
{
    Desk desk(1000000);
    for (auto _ : state) {
        state.PauseTiming();
        desk.Click(desk.Main()->newButton);
        state.ResumeTiming();
        desk.Main()->Undo();
    }
    state.counters["rows"] = double(desk.Main()->GetColumn(0)->GetLineCount());
}
BENCHMARK(BM_UndoNewOnAMillionRows)->Unit(benchmark::kMillisecond)->Iterations(5);

// Bytes the heap grew by beside the set, over 100 steps of single cells.
void BM_HundredCellEditsOnAMillionRows(benchmark::State& state)
{
    Desk desk(1000000);
    size_t grown = 0;
    for (auto _ : state) {
        size_t before = HeapInUse();
        for (int i = 0; i < 100; i++)
            desk.EditCell("7");
        grown = HeapInUse() - before;
    }
    state.counters["history_bytes"] = double(desk.Main()->GetHistory().Bytes());
    state.counters["heap_growth_bytes"] = double(grown);
}
BENCHMARK(BM_HundredCellEditsOnAMillionRows)->Unit(benchmark::kMillisecond)->Iterations(1);

// A 100,000-row block pasted over the last 50,000 of a million rows (so 50,000 new
// ones), taken back and done again.
void BM_UndoRedoOfA100000RowPaste(benchmark::State& state)
{
    Desk desk(1000000);
    std::string block;
    for (int i = 0; i < 100000; i++)
        block += std::to_string(i) + "\t0.1\t" + std::to_string(2 * i) + "\t0.2\n";
    CTextEdit* column = desk.Main()->GetColumn(0);
    CTextEditRing::WalkRing(column, CTextEditRing::CurrentRowWalk, 950000);
    column->PasteBlock(block.data(), uint32_t(block.size()));
    for (auto _ : state) {
        desk.Main()->Undo();
        desk.Main()->Redo();
    }
    state.counters["rows"] = double(column->GetLineCount());
}
BENCHMARK(BM_UndoRedoOfA100000RowPaste)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_WriteRecoveryOf100000Rows(benchmark::State& state)
{
    Desk desk(100000);
    fs::path folder = fs::temp_directory_path() / ("ajustor-historia-" + std::to_string(::getpid()));
    CRecoveryFile file(desk.app, folder.string(), 1);
    file.Open();
    CDataColumn* columns[4];
    for (int k = 0; k < 4; k++)
        columns[k] = desk.Main()->GetColumn(k);
    for (auto _ : state)
        file.Write(columns, "/home/alumno/Dades/datos.dat");
    std::error_code error;
    state.counters["bytes"] = double(fs::file_size(file.FilePath(), error));
    file.Close(false);
    fs::remove_all(folder, error);
}
BENCHMARK(BM_WriteRecoveryOf100000Rows)->Unit(benchmark::kMillisecond);

// Keys typed, one per turn of the loop, while the main window writes the recovery file
// of 100,000 rows in slices: the longest turn (a key handled, and the slice it waited
// for), and the turns and time the write took.
void BM_KeystrokeWhileRecoveryIsWritten(benchmark::State& state)
{
    using Clock = std::chrono::steady_clock;
    Desk desk(100000);
    fs::path folder = fs::temp_directory_path() / ("ajustor-teclas-" + std::to_string(::getpid()));
    desk.Main()->KeepRecovery(folder.string());
    const fs::path file = desk.Main()->GetRecoveryPath();
    double longest = 0, writing = 0, turns = 0;
    for (auto _ : state) {
        desk.EditCell("7");
        std::error_code error;
        fs::remove(file, error);
        desk.desktop.AdvanceClock(1100);  // the write is due
        auto start = Clock::now();
        for (uint32_t key = 0; !fs::exists(file) && turns < 1e6; key++, turns++) {
            auto typed = Clock::now();
            if (key % 2)
                desk.desktop.TypeKey(platform::VK_BACK, 8);
            else
                desk.desktop.TypeKey('1', '1');
            PumpDesktop(desk.app, desk.desktop);
            longest = std::max(longest, std::chrono::duration<double, std::milli>(Clock::now() - typed).count());
            desk.desktop.AdvanceClock(1);
        }
        writing += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }
    state.counters["longest_keystroke_ms"] = longest;
    state.counters["write_ms"] = writing / double(state.iterations());
    state.counters["turns_per_write"] = turns / double(state.iterations());
    desk.Main()->EndRecovery();
    std::error_code error;
    fs::remove_all(folder, error);
}
BENCHMARK(BM_KeystrokeWhileRecoveryIsWritten)->Unit(benchmark::kMillisecond)->Iterations(20);
}  // namespace
