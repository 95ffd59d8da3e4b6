// The gallery shown and nothing happening: a loop step must not allocate. Measured on
// the in-memory desktop (with and without a timer registered) and on a private Xvfb.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "AllocationCount.h"
#include "core/CObjectList.h"
#include "platform/headless/PHeadlessSystem.h"
#include "platform/x11/PX11System.h"
#include "platform/x11/PXvfbServer.h"
#include "toolkit/CGApplication.h"
#include "toolkit/CTimer.h"
#include "tools/widgetdemo/CGalleryWindow.h"

namespace {
using namespace std::chrono;

struct GallerySession {
    explicit GallerySession(platform::PWindowSystem* system)
    {
        SetValidationMode(TrustRegistered);
        previous = platform::InstallWindowSystem(system);
        app = new CGApplication();
        app->Initialise();
        gallery = Variable(new CGalleryWindow(app, CGalleryWindow::FindPictureFolder()));
        gallery.As<CGalleryWindow>()->Create(100, 60, CGalleryWindow::Width, CGalleryWindow::Height, nullptr,
                                             "Galer\xED" "a", 255, 242, 202);
        gallery.As<CGalleryWindow>()->Show();
        app->looping = 1;
    }
    ~GallerySession()
    {
        app->looping = 0;
        gallery.Clear();
        timer.Clear();
        app->Cleanup();
        delete app;
        platform::InstallWindowSystem(previous);
    }
    void AddTimer(uint32_t interval)
    {
        timer = Variable(new CTimer(app));
        timer.As<CTimer>()->Create(gallery.As<CWComponent>());
        timer.As<CTimer>()->SetInterval(interval);
        timer.As<CTimer>()->SetEnabled(1);
    }

    platform::PWindowSystem* previous = nullptr;
    CGApplication* app = nullptr;
    Variable gallery, timer;
};

void Measure(benchmark::State& state, GallerySession& session)
{
    long before = AllocationsSoFar();
    for (auto _ : state)
        session.app->Step();
    state.counters["allocations_per_step"] =
        benchmark::Counter(double(AllocationsSoFar() - before) / double(state.iterations()));
    state.counters["widgets"] = double(session.app->windows->count);
}

void GalleryIdleStepHeadless(benchmark::State& state)
{
    platform::PHeadlessSystem desktop;
    GallerySession session(&desktop);
    if (state.range(0))
        session.AddTimer(25);
    while (desktop.Pending())
        session.app->Step();
    Measure(state, session);
}
BENCHMARK(GalleryIdleStepHeadless)->ArgName("timer")->Arg(0)->Arg(1);

// On X a timer keeps each step from waiting for input that never comes.
void GalleryIdleStepX11(benchmark::State& state)
{
    static platform::PXvfbServer server;
    static int started = server.Start();
    auto system = started ? platform::PX11System::Open(server.GetDisplayName().c_str()) : nullptr;
    if (!system) {
        state.SkipWithError(("no X server: " + server.GetError()).c_str());
        return;
    }
    GallerySession session(system.get());
    session.AddTimer(0);
    auto settle = steady_clock::now() + milliseconds(500);
    while (steady_clock::now() < settle)
        session.app->Step();
    Measure(state, session);
}
BENCHMARK(GalleryIdleStepX11);
}  // namespace
