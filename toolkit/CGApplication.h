#pragma once

#include <cstdint>
#include <functional>

#include "core/CApplication.h"
#include "graphics/Colour.h"
#include "platform/PWindowSystem.h"
#include "toolkit/CEvent.h"

class CIWindowComparator;
class CObjectList;
class CString;
class CWComponent;

// The application object of a program with windows: registers the one native window
// class, turns native messages into events for the window components, keeps the
// active component, capture and pointer-enter state, ticks the timers, and offers the
// screen, pointer and clipboard services.
class CGApplication : public CApplication {
public:
    static constexpr const char* WindowClassName = "Valkora_Window";

    CGApplication();
    ~CGApplication() override;

    // 1 when the window system is there; 0 (with a message on standard error) when not.
    int Initialise();
    void Run();
    void Stop();
    // What must be kept when the session ends (a log-out, a shutdown, a signal to end):
    // the system may end the program as soon as it is told, so this runs at once, and
    // then the loop stops.
    void SetSessionEnd(std::function<void()> keep) { sessionEnd = std::move(keep); }
    void Step();
    void Cleanup();

    void SendEvent(CWComponent* component, CEvent event);
    void Activate(CWComponent* component);
    void Activate(CWComponent* component, CObject* source);
    void SetExclusive(CWComponent* component);
    void Release(CWComponent* component);

    CEvent GetCursorPosition();
    CEvent GetDesktopSize();
    // A new string (count 0) with the clipboard's whole text, or null when it holds
    // none or could not be read; `status` (if given) tells which: 1 text, 0 none, -1
    // text that could not be read.
    CString* GetClipboardText(int* status = nullptr);
    void SetClipboardText(CString* text);

    uint32_t packColour(uint32_t r, uint32_t g, uint32_t b) const { return ::packColour(r, g, b); }
    uint32_t redOf(uint32_t colour) const { return ::redOf(colour); }
    uint32_t greenOf(uint32_t colour) const { return ::greenOf(colour); }
    uint32_t blueOf(uint32_t colour) const { return ::blueOf(colour); }

    // The registered component whose native window is `handle`, or null.
    CWComponent* FindWindow(platform::PHandle handle);
    // Called by a component leaving the registry, so the loop holds no stale pointer.
    void ForgetComponent(CWComponent* component);
    platform::PWindowSystem* GetSystem() const { return system; }
    int OffersTranslucency() const { return translucency; }

    CObjectList* windows = nullptr;
    CObjectList* timers = nullptr;
    uint8_t running = 0;
    uint8_t looping = 0;
    CIWindowComparator* windowFinder = nullptr;
    CWComponent* activeWindow = nullptr;
    // Exclusive: the active component keeps all input until it releases.
    enum ActivationMode : int32_t { NothingActive = 0, NormalActivation = 1, ExclusiveActivation = 2 };
    ActivationMode activationMode = NothingActive;
    platform::PHandle desktopWindow = 0;
    int32_t screenDepth = 0;
    int32_t bytesPerPixel = 4;

private:
    // ToPointed: to the window the message names only, activating nothing.
    enum Kind { Native = 0, Activating = 1, ToActive = 2, ToTarget = 3, ToPointed = 4 };

    static intptr_t WindowProcedure(platform::PHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);
    void Paint(platform::PHandle window);
    void Handle(const platform::PMessage& message);
    void EndSession();
    int Translate(const platform::PMessage& message, CEvent& event);
    void DetectEnter(const platform::PMessage& message);
    void Deliver(int kind, const platform::PMessage& message, CEvent& event);
    void DetectClick(CEvent event);
    int32_t WheelRows(uintptr_t wParam);
    void SwitchActive(CWComponent* component, CObject* source);
    void Deactivate();
    void TickTimers();
    int MillisecondsToNextTimer();

    platform::PWindowSystem* system = nullptr;
    int translucency = 0;

    // State of the loop between steps.
    CWComponent* currentTarget = nullptr;
    CWComponent* judgedTarget = nullptr;  // kept aside while an exclusive component gets enter events
    platform::PHandle enteredHandle = 0;
    platform::PHandle movedHandle = 0;
    bool captured = false;
    int32_t wheelRest = 0;  // a fine wheel's turn not yet worth a row, in 1/120 rows
    uint64_t previousTick = 0;
    bool tickTaken = false;
    std::function<void()> sessionEnd;
};
