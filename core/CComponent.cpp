#include "core/CComponent.h"

#include "core/CApplication.h"

CComponent::CComponent(CApplication* app, RegistryChoice choice)
{
    className = "CComponent";
    application = app;
    if (app && choice == Registered)
        Register();
}

CComponent::~CComponent() { LeaveRegistry(); }

void CComponent::Register()
{
    if (application && application->RegisterObject(this))
        registered = 1;
}

void CComponent::Unregister()
{
    if (application)
        application->UnregisterObject(this);
}
