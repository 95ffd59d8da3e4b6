#include "toolkit/CTimer.h"

#include "core/CObjectList.h"
#include "toolkit/CGApplication.h"
#include "toolkit/CWComponent.h"

CTimer::CTimer(CGApplication* app) : CComponent(app, NotRegistered)
{
    className = "CTimer";
    Register();
}

CTimer::~CTimer() { LeaveRegistry(); }

void CTimer::Register()
{
    auto* app = static_cast<CGApplication*>(application);
    if (!app)
        return;
    if (app->timers)
        app->timers->AddUnreferenced(this);
    CComponent::Register();
}

void CTimer::Unregister()
{
    auto* app = static_cast<CGApplication*>(application);
    if (!app)
        return;
    if (app->timers)
        app->timers->Remove(this);
    CComponent::Unregister();
}

void CTimer::OnTick(CEvent event)
{
    // The target may have gone since the timer was made; only a live one is called.
    if (target && application && application->IsAlive(target))
        target->HandleEvent(event);
}

void CTimer::Create(CWComponent* component)
{
    created = 1;
    enabled = 0;
    accumulated = 0;
    interval = 1000;
    target = component && application && application->IsAlive(component) ? component : nullptr;
}

// The event carries this tick's milliseconds only, not the accumulated sum; a disabled
// timer keeps accumulating.
void CTimer::Tick(uint32_t elapsed)
{
    accumulated += elapsed;
    if (accumulated <= interval || !enabled)
        return;
    accumulated = 0;
    CEvent event;
    event.type = EV_TIMER;
    event.value = int32_t(elapsed);
    event.source = this;
    OnTick(event);
}
