#pragma once

#include <cstdint>

#include "core/CComponent.h"
#include "toolkit/CEvent.h"

class CGApplication;
class CWComponent;

// A periodic timer ticked by the event loop: it accumulates the milliseconds of each
// tick and, once they exceed its interval, sends EV_TIMER to its target.
class CTimer : public CComponent {
public:
    explicit CTimer(CGApplication* app);
    ~CTimer() override;

    void Register() override;
    void Unregister() override;
    virtual void OnTick(CEvent event);

    void Create(CWComponent* target);
    void SetInterval(uint32_t milliseconds) { interval = milliseconds; }
    void SetEnabled(uint32_t flag) { enabled = flag; }
    void Tick(uint32_t elapsed);

    uint32_t interval = 1000;
    uint32_t accumulated = 0;
    uint32_t enabled = 0;
    CWComponent* target = nullptr;
};
