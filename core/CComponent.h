#pragma once

#include "core/CObject.h"

// Base of every class that lives in an application's registry. Construction with an
// application registers the object unless the caller asks otherwise (the registry's
// own lists are not registered).
class CComponent : public CObject {
public:
    enum RegistryChoice { Registered, NotRegistered };

    explicit CComponent(CApplication* app, RegistryChoice choice = Registered);
    ~CComponent() override;

    void Register() override;
    void Unregister() override;
};
