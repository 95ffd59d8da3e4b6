#include "toolkit/CGApplication.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "core/CObjectList.h"
#include "core/CString.h"
#include "toolkit/CIWindowComparator.h"
#include "toolkit/CWComponent.h"

namespace {
constexpr int ClipboardAttempts = 50;
}  // namespace

CGApplication::CGApplication() { className = "CGApplication"; }

CGApplication::~CGApplication()
{
    if (windows)
        Cleanup();
}

int CGApplication::Initialise()
{
    system = platform::WindowSystem();
    if (!system) {
        std::fputs("No hay sistema de ventanas: no se puede abrir la pantalla.\n", stderr);
        return 0;
    }
    translucency = system->OffersTranslucency();
    system->RegisterClass(WindowClassName, WindowProcedure);
    windows = new CObjectList(this, CComponent::NotRegistered);
    windows->Create();
    windowFinder = new CIWindowComparator(this, CComponent::NotRegistered);
    timers = new CObjectList(this, CComponent::NotRegistered);
    timers->Create();
    className = "CGApplication";
    activeWindow = nullptr;
    activationMode = NothingActive;
    desktopWindow = system->GetDesktopWindow();
    bytesPerPixel = 4;
    running = 1;
    looping = 0;
    return 1;
}

void CGApplication::Run()
{
    running = 1;
    if (looping)
        return;
    looping = 1;
    while (running)
        Step();
    looping = 0;
}

void CGApplication::Stop() { running = 0; }

void CGApplication::Cleanup()
{
    running = 0;
    if (timers) {
        timers->DeleteAll();
        delete timers;
        timers = nullptr;
    }
    if (windows) {
        windows->DeleteAll();
        delete windows;
        windows = nullptr;
    }
    delete windowFinder;
    windowFinder = nullptr;
    activeWindow = nullptr;
    activationMode = NothingActive;
    currentTarget = nullptr;
    Shutdown();
}

void CGApplication::SendEvent(CWComponent* component, CEvent event)
{
    if (!component)
        return;
    // A child learns of its size from its parent, never from the window system.
    if (event.type == EV_RESIZE && component->parentRef.Get())
        return;
    component->HandleEvent(event);
}

void CGApplication::Activate(CWComponent* component) { Activate(component, this); }

void CGApplication::Activate(CWComponent* component, CObject* source)
{
    if (component == activeWindow || activationMode == ExclusiveActivation)
        return;
    if (!component) {
        Deactivate();
        return;
    }
    activationMode = NormalActivation;
    SwitchActive(component, source);
}

void CGApplication::SetExclusive(CWComponent* component)
{
    if (activationMode == ExclusiveActivation)
        return;
    if (!component) {
        Deactivate();
        return;
    }
    activationMode = ExclusiveActivation;
    SwitchActive(component, this);
}

// Nothing is active any more; the component that was gets no event.
void CGApplication::Deactivate()
{
    activationMode = NothingActive;
    activeWindow = nullptr;
}

void CGApplication::Release(CWComponent* component)
{
    if (!component || component != activeWindow)
        return;
    activationMode = NothingActive;
    CEvent unfocus;
    unfocus.type = EV_UNFOCUS;
    unfocus.source = this;
    SendEvent(component, unfocus);
    activeWindow = nullptr;
}

CEvent CGApplication::GetCursorPosition()
{
    CEvent position;
    platform::PPoint point;
    if (system && system->GetCursorPos(point)) {
        position.x = point.x;
        position.y = point.y;
    }
    return position;
}

CEvent CGApplication::GetDesktopSize()
{
    CEvent size;
    platform::PRect rect;
    if (system && system->GetClientRect(system->GetDesktopWindow(), rect)) {
        size.x = rect.Width();
        size.y = rect.Height();
    }
    return size;
}

CString* CGApplication::GetClipboardText(int* status)
{
    std::string text;
    int read = system ? system->GetClipboardText(text) : 0;
    if (status)
        *status = read > 0 ? 1 : read;
    if (read <= 0)
        return nullptr;
    CString* copy = new CString(this);
    copy->SetText(text.c_str());  // clipboard text ends at its first zero
    return copy;
}

// Another program may hold the clipboard for a moment; the attempts are bounded so
// that a stuck clipboard cannot freeze the program.
void CGApplication::SetClipboardText(CString* text)
{
    Variable hold;
    hold = text;
    if (!system || !text)
        return;
    std::string bytes(text->GetBuffer() ? text->GetBuffer() : "", text->GetLength());
    bytes.resize(std::char_traits<char>::length(bytes.c_str()));
    for (int attempt = 0; attempt < ClipboardAttempts; attempt++) {
        if (system->SetClipboardText(bytes.data(), bytes.size()))
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(8));
    }
}

CWComponent* CGApplication::FindWindow(platform::PHandle handle)
{
    if (!windows || !windowFinder || !handle)
        return nullptr;
    windowFinder->SetKey(&handle);
    for (uint32_t i = 0; i < windows->count; i++) {
        CObject* item = windows->items[i];
        if (item && windowFinder->CompareKey(item) == 0)
            return static_cast<CWComponent*>(item);
    }
    return nullptr;
}

void CGApplication::ForgetComponent(CWComponent* component)
{
    if (currentTarget == component)
        currentTarget = nullptr;
    if (judgedTarget == component)
        judgedTarget = nullptr;
}

void CGApplication::SwitchActive(CWComponent* component, CObject* source)
{
    CWComponent* previous = activeWindow;
    if (previous) {
        CEvent unfocus;
        unfocus.type = EV_UNFOCUS;
        unfocus.source = this;
        SendEvent(previous, unfocus);
    }
    activeWindow = component;
    CEvent focus;
    focus.type = EV_FOCUS;
    focus.source = source;
    SendEvent(component, focus);
    if (component->created && system)
        system->SetFocus(component->GetHandle());
}
