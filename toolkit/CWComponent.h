#pragma once

#include "core/CComponent.h"
#include "core/Variable.h"
#include "platform/PWindowSystem.h"
#include "toolkit/CEvent.h"

class CGApplication;

// A component of the window system: registered with the application's window list,
// activated on construction, with a parent and a place in a keyboard-focus ring.
class CWComponent : public CComponent {
public:
    explicit CWComponent(CGApplication* app);
    ~CWComponent() override;

    void Register() override;
    void Unregister() override;
    virtual void SetNext(CWComponent* next);
    // Where the loop delivers events; windows give it their handler.
    virtual void HandleEvent(CEvent event);
    // The native window; 0 for a component without one.
    virtual platform::PHandle GetHandle() const { return 0; }

    void FocusNext(int withSource);
    void Activate();
    void SetExclusive();
    void Release();
    CGApplication* GetApplication() const;

    Variable parentRef;
    Variable nextFocus;
};
