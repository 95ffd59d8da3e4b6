#pragma once

#include "core/CComponent.h"
#include "core/Variable.h"

// A framework object holding two references, with no behaviour of its own.
class CMetaFunction : public CComponent {
public:
    explicit CMetaFunction(CApplication* app);
    ~CMetaFunction() override;

    Variable first;
    Variable second;
};
