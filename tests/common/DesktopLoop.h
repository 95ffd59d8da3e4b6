#pragma once

// The application's loop on the in-memory desktop, as tests and benchmarks run it.
#include "platform/headless/PHeadlessSystem.h"
#include "toolkit/CGApplication.h"

// Runs loop steps until the desktop has nothing queued, then one more.
inline void PumpDesktop(CGApplication* app, platform::PHeadlessSystem& desktop)
{
    app->looping = 1;
    for (int guard = 0; guard < 10000 && desktop.Pending(); guard++)
        app->Step();
    app->Step();
    app->looping = 0;
}
