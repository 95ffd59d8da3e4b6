#include <benchmark/benchmark.h>

#include <string>

#include "core/CApplication.h"
#include "core/Variable.h"
#include "graphics/CBCell.h"
#include "graphics/CCanvas.h"
#include "io/CMemIO.h"

namespace {
CApplication* App()
{
    static CApplication* app = new CApplication();
    return app;
}

void PutU32(std::string& s, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        s.push_back(char(v >> (8 * i)));
}

// A w × h cel whose opacity runs through every value, so most pixels blend.
std::string RampCel(uint32_t w, uint32_t h)
{
    std::string cel;
    for (int layer = 0; layer < 2; layer++) {
        PutU32(cel, w);
        PutU32(cel, h);
        for (uint32_t y = 0; y < h; y++)
            for (uint32_t x = 0; x < w; x++) {
                uint8_t v = uint8_t((x * 7 + y * 3) % 256);
                cel += layer ? std::string{char(v), char(v), char(v)} : std::string{char(x), char(y), char(x + y)};
            }
    }
    return cel;
}

Variable CellOf(std::string& bytes)
{
    Variable cell(new CBCell(App()));
    Variable stream(new CMemIO(App()));
    stream.As<CMemIO>()->OpenBlock(bytes.data(), uint32_t(bytes.size()));
    cell.As<CBCell>()->LoadCelChannels(stream.As<CMemIO>());
    return cell;
}

Variable Window()
{
    Variable canvas(new CCanvas(App()));
    canvas.As<CCanvas>()->Create(600, 480);
    return canvas;
}
}  // namespace

static void DrawOnPartialAlpha(benchmark::State& state)
{
    std::string bytes = RampCel(142, 42);
    Variable cell = CellOf(bytes), window = Window();
    for (auto _ : state) {
        cell.As<CBCell>()->DrawOn(window.As<CCanvas>(), 10, 10, 0, 0, 0, 0);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 142 * 42);
}
BENCHMARK(DrawOnPartialAlpha);

static void Scaled256x64To142x42(benchmark::State& state)
{
    std::string bytes = RampCel(256, 64);
    Variable cell = CellOf(bytes);
    for (auto _ : state) {
        Variable scaled(cell.As<CBCell>()->Scaled(142, 42));
        benchmark::DoNotOptimize(scaled.Get());
    }
}
BENCHMARK(Scaled256x64To142x42)->Unit(benchmark::kMicrosecond);

static void FillRect600x480(benchmark::State& state)
{
    Variable window = Window();
    uint32_t colour = 0;
    for (auto _ : state) {
        window.As<CCanvas>()->SetColour(colour++);
        window.As<CCanvas>()->FillRect(0, 0, 600, 480);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(FillRect600x480)->Unit(benchmark::kMicrosecond);

// What every new window pays for its canvas: the surface, a font and its first text.
static void NewButtonCanvasWithCaption(benchmark::State& state)
{
    for (auto _ : state) {
        Variable canvas(new CCanvas(App()));
        canvas.As<CCanvas>()->Create(148, 48);
        canvas.As<CCanvas>()->DrawText("Guardar Como", 40, 30);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(NewButtonCanvasWithCaption)->Unit(benchmark::kMicrosecond);
