// Registry and string costs: registry operations must not grow with the number of live
// objects, and the number conversions must stay close to the bare C library calls.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

#include "core/CApplication.h"
#include "core/CString.h"
#include "core/Variable.h"

namespace {
struct LiveObjects {
    explicit LiveObjects(size_t n)
    {
        app = new CApplication();
        for (size_t i = 0; i < n; i++)
            held.emplace_back(new CString(app));
    }
    ~LiveObjects()
    {
        held.clear();
        app->Shutdown();
        delete app;
    }
    CApplication* app;
    std::vector<Variable> held;
};

void StringHoldRelease(benchmark::State& state)
{
    LiveObjects live(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        Variable v(new CString(live.app));
        benchmark::DoNotOptimize(v.Get());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(StringHoldRelease)->Arg(10000)->Arg(1000000);

void RandomOrderRelease(benchmark::State& state)
{
    auto n = static_cast<size_t>(state.range(0));
    std::mt19937 random(3);
    for (auto _ : state) {
        state.PauseTiming();
        auto* live = new LiveObjects(n);
        std::shuffle(live->held.begin(), live->held.end(), random);
        state.ResumeTiming();
        live->held.clear();
        state.PauseTiming();
        delete live;
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(n));
}
// Few iterations of the large case are enough; the small one needs many to settle.
BENCHMARK(RandomOrderRelease)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK(RandomOrderRelease)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(5);

// Steady state: with n objects alive, release a random one and make its successor.
void ReleaseRandomAndReplace(benchmark::State& state)
{
    LiveObjects live(static_cast<size_t>(state.range(0)));
    std::mt19937 random(5);
    std::uniform_int_distribution<size_t> pick(0, live.held.size() - 1);
    for (auto _ : state)
        live.held[pick(random)] = new CString(live.app);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(ReleaseRandomAndReplace)->Arg(10000)->Arg(1000000);

// The same releases of plain heap objects of a string's size, without any registry:
// what memory alone costs as the live set outgrows the caches.
void RandomOrderPlainDelete(benchmark::State& state)
{
    struct Plain {
        virtual ~Plain() = default;
        char body[48];
    };
    auto n = static_cast<size_t>(state.range(0));
    std::mt19937 random(3);
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<std::unique_ptr<Plain>> held;
        for (size_t i = 0; i < n; i++)
            held.push_back(std::make_unique<Plain>());
        std::shuffle(held.begin(), held.end(), random);
        state.ResumeTiming();
        held.clear();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(n));
}
BENCHMARK(RandomOrderPlainDelete)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK(RandomOrderPlainDelete)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(5);

// The steady state of plain heap objects: delete a random one and make its successor.
void PlainReplaceRandom(benchmark::State& state)
{
    struct Plain {
        virtual ~Plain() = default;
        char body[48];
    };
    std::vector<std::unique_ptr<Plain>> held;
    for (int64_t i = 0; i < state.range(0); i++)
        held.push_back(std::make_unique<Plain>());
    std::mt19937 random(5);
    std::uniform_int_distribution<size_t> pick(0, held.size() - 1);
    for (auto _ : state)
        held[pick(random)] = std::make_unique<Plain>();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(PlainReplaceRandom)->Arg(10000)->Arg(1000000);

const double Values[] = {0.1, 1.0 / 3.0, 6.02214076e23, -1.602176634e-19, 123456789.125, 2.0, 1e-300};
constexpr int ValueCount = sizeof Values / sizeof Values[0];

void SetNumber32(benchmark::State& state)
{
    LiveObjects live(0);
    Variable s(new CString(live.app));
    int i = 0;
    for (auto _ : state) {
        s.As<CString>()->SetNumber(Values[i++ % ValueCount], 32);
        benchmark::DoNotOptimize(s.As<CString>()->GetBuffer());
    }
}
BENCHMARK(SetNumber32);

void BareSnprintf32(benchmark::State& state)
{
    char out[80];
    int i = 0;
    for (auto _ : state) {
        std::snprintf(out, sizeof out, "%.*G", 32, Values[i++ % ValueCount]);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BareSnprintf32);

std::vector<Variable> NumberTexts(CApplication* app)
{
    std::vector<Variable> texts;
    for (double v : Values) {
        texts.emplace_back(new CString(app));
        texts.back().As<CString>()->SetNumber(v, 32);
    }
    return texts;
}

void ToNumber(benchmark::State& state)
{
    LiveObjects live(0);
    std::vector<Variable> texts = NumberTexts(live.app);
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(texts[i++ % ValueCount].As<CString>()->ToNumber());
}
BENCHMARK(ToNumber);

void BareStrtod(benchmark::State& state)
{
    LiveObjects live(0);
    std::vector<Variable> texts = NumberTexts(live.app);
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(std::strtod(texts[i++ % ValueCount].As<CString>()->CStr(), nullptr));
}
BENCHMARK(BareStrtod);

// Heap bytes of one string holding a 20-character number: both blocks with the
// allocator's 8-byte chunk header.
void MemoryOfANumberString(benchmark::State& state)
{
    LiveObjects live(0);
    Variable s(new CString(live.app));
    s.As<CString>()->SetText("-1.2345678901234E-05");
    for (auto _ : state)
        benchmark::DoNotOptimize(s.Get());
    size_t object = malloc_usable_size(s.Get()) + 8;
    size_t buffer = malloc_usable_size(const_cast<char*>(s.As<CString>()->GetBuffer())) + 8;
    state.counters["object_bytes"] = static_cast<double>(object);
    state.counters["buffer_bytes"] = static_cast<double>(buffer);
    state.counters["total_bytes"] = static_cast<double>(object + buffer);
    state.counters["sizeof_CString"] = sizeof(CString);
}
BENCHMARK(MemoryOfANumberString)->Iterations(1);
}  // namespace
