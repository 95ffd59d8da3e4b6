#include "toolkit/CWComponent.h"

#include "core/CObjectList.h"
#include "toolkit/CGApplication.h"

CWComponent::CWComponent(CGApplication* app) : CComponent(app, NotRegistered)
{
    className = "CWComponent";
    Register();
}

CWComponent::~CWComponent() { LeaveRegistry(); }

// A new component becomes the active one.
void CWComponent::Register()
{
    CGApplication* app = GetApplication();
    if (!app)
        return;
    CComponent::Register();
    if (app->windows)
        app->windows->AddUnreferenced(this);
    app->Activate(this);
}

void CWComponent::Unregister()
{
    CGApplication* app = GetApplication();
    if (!app)
        return;
    app->Release(this);
    app->ForgetComponent(this);
    if (app->windows)
        app->windows->Remove(this);
    CComponent::Unregister();
}

void CWComponent::SetNext(CWComponent* next) { nextFocus = next; }

void CWComponent::HandleEvent(CEvent) {}

void CWComponent::FocusNext(int withSource)
{
    auto* next = nextFocus.CheckedAs<CWComponent>();
    if (next && GetApplication())
        GetApplication()->Activate(next, withSource ? static_cast<CObject*>(this) : GetApplication());
}

void CWComponent::Activate()
{
    if (GetApplication())
        GetApplication()->Activate(this);
}

void CWComponent::SetExclusive()
{
    if (GetApplication())
        GetApplication()->SetExclusive(this);
}

void CWComponent::Release()
{
    if (GetApplication())
        GetApplication()->Release(this);
}

CGApplication* CWComponent::GetApplication() const { return static_cast<CGApplication*>(application); }
