// The event loop's costs: allocations of an idle step, the time a click sent through
// the X server takes to reach a button as EV_CLICK, and the processor time of an idle
// loop with a 25 ms timer. The X measurements run on a private Xvfb.
#include <sys/resource.h>

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>

#include "AllocationCount.h"
#include "platform/headless/PHeadlessSystem.h"
#include "platform/x11/PX11Driver.h"
#include "platform/x11/PXvfbServer.h"
#include "platform/x11/PX11System.h"
#include "toolkit/CGApplication.h"
#include "toolkit/CTimer.h"
#include "toolkit/CWindow.h"

// Every allocation of the process, shared libraries included, is counted.
namespace {
std::atomic<long> allocations{0};
}  // namespace

#if !defined(__SANITIZE_ADDRESS__)
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* malloc(size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(size);
}
void* calloc(size_t count, size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(count, size);
}
void* realloc(void* block, size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(block, size);
}
}
#endif

long AllocationsSoFar() { return allocations.load(std::memory_order_relaxed); }

namespace {
using namespace std::chrono;

// Counts what the loop delivers to it.
class CCounter : public CWindow {
public:
    using CWindow::CWindow;
    void HandleEvent(CEvent event) override
    {
        if (event.source == application && event.type == EV_CLICK)
            clicks++;
        if (event.type == EV_TIMER)
            ticks++;
        CWindow::HandleEvent(event);
    }
    long clicks = 0;
    long ticks = 0;
};

struct Session {
    explicit Session(platform::PWindowSystem* system)
    {
        SetValidationMode(TrustRegistered);
        previous = platform::InstallWindowSystem(system);
        app = new CGApplication();
        app->Initialise();
        window = Variable(new CCounter(app));
        window.As<CWindow>()->Create(100, 100, 300, 200, nullptr, NoTitle, 250, 245, 210);
        button = Variable(new CCounter(app));
        button.As<CWindow>()->Create(20, 20, 80, 30, window.As<CWindow>(), nullptr, 200, 200, 198);
        window.As<CWindow>()->Show();
        button.As<CWindow>()->Show();
        app->looping = 1;
    }
    ~Session()
    {
        app->looping = 0;
        window.Clear();
        button.Clear();
        timer.Clear();
        app->Cleanup();
        delete app;
        platform::InstallWindowSystem(previous);
    }
    void AddTimer(uint32_t interval, CWComponent* target)
    {
        timer = Variable(new CTimer(app));
        timer.As<CTimer>()->Create(target);
        timer.As<CTimer>()->SetInterval(interval);
        timer.As<CTimer>()->SetEnabled(1);
    }
    CCounter* Button() { return button.As<CCounter>(); }
    CCounter* Window() { return window.As<CCounter>(); }

    platform::PWindowSystem* previous = nullptr;
    CGApplication* app = nullptr;
    Variable window, button, timer;
};

platform::PXvfbServer& Server()
{
    static platform::PXvfbServer server;
    static int started = server.Start();
    (void)started;
    return server;
}

void IdleStepHeadless(benchmark::State& state)
{
    platform::PHeadlessSystem desktop;
    Session session(&desktop);
    if (state.range(0))
        session.AddTimer(25, session.Window());
    while (desktop.Pending())
        session.app->Step();
    long before = allocations.load();
    for (auto _ : state)
        session.app->Step();
    state.counters["allocations_per_step"] =
        benchmark::Counter(double(allocations.load() - before) / double(state.iterations()));
}
BENCHMARK(IdleStepHeadless)->ArgName("timer")->Arg(0)->Arg(1);

// The counter itself: one allocation per iteration must show as 1.
void AllocationCounterControl(benchmark::State& state)
{
    long before = allocations.load();
    for (auto _ : state) {
        void* block = std::malloc(64);
        benchmark::DoNotOptimize(block);
        std::free(block);
    }
    state.counters["allocations_per_step"] =
        benchmark::Counter(double(allocations.load() - before) / double(state.iterations()));
}
BENCHMARK(AllocationCounterControl);

// Steps on X with a timer due at every step: nothing queued, nothing painted.
void IdleStepX11(benchmark::State& state)
{
    auto system = platform::PX11System::Open(Server().GetDisplayName().c_str());
    if (!system) {
        state.SkipWithError(("no X server: " + Server().GetError()).c_str());
        return;
    }
    Session session(system.get());
    session.AddTimer(0, session.Window());
    auto settle = steady_clock::now() + milliseconds(300);
    while (steady_clock::now() < settle)
        session.app->Step();
    long before = allocations.load();
    for (auto _ : state)
        session.app->Step();
    state.counters["allocations_per_step"] =
        benchmark::Counter(double(allocations.load() - before) / double(state.iterations()));
}
BENCHMARK(IdleStepX11);

// From the moment the press and release are sent to the server until the button's
// handler has the click.
void X11ClickToHandler(benchmark::State& state)
{
    auto system = platform::PX11System::Open(Server().GetDisplayName().c_str());
    platform::PX11Driver driver;
    if (!system || !driver.Open(Server().GetDisplayName().c_str())) {
        state.SkipWithError("no X server or no XTEST");
        return;
    }
    Session session(system.get());
    session.AddTimer(50, nullptr);  // a bound on each wait, should an event go missing
    auto settle = steady_clock::now() + milliseconds(300);
    while (steady_clock::now() < settle)
        session.app->Step();
    driver.MovePointer(150, 135);
    double worst = 0;
    for (auto _ : state) {
        long clicks = session.Button()->clicks;
        auto sent = steady_clock::now();
        driver.Button(1, true);
        driver.Button(1, false);
        while (session.Button()->clicks == clicks && steady_clock::now() - sent < seconds(2))
            session.app->Step();
        double seconds = duration<double>(steady_clock::now() - sent).count();
        worst = std::max(worst, seconds);
        state.SetIterationTime(seconds);
    }
    state.counters["worst_ms"] = worst * 1000;
}
BENCHMARK(X11ClickToHandler)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Ten seconds of a loop with nothing to do but a 25 ms timer.
void X11IdleWithTimer(benchmark::State& state)
{
    auto system = platform::PX11System::Open(Server().GetDisplayName().c_str());
    if (!system) {
        state.SkipWithError("no X server");
        return;
    }
    Session session(system.get());
    session.AddTimer(25, session.Window());
    for (auto _ : state) {
        long ticks = session.Window()->ticks;
        double cpu = CpuSeconds();
        auto start = steady_clock::now();
        while (steady_clock::now() - start < seconds(10))
            session.app->Step();
        double wall = duration<double>(steady_clock::now() - start).count();
        state.counters["cpu_percent"] = 100.0 * (CpuSeconds() - cpu) / wall;
        state.counters["timer_events"] = double(session.Window()->ticks - ticks);
    }
}
BENCHMARK(X11IdleWithTimer)->Iterations(1)->Unit(benchmark::kSecond);
}  // namespace
