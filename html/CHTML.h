#pragma once

#include "core/CComponent.h"

class CIO;

// An element of a report's markup tree; writes itself to a stream in one pass.
class CHTML : public CComponent {
public:
    explicit CHTML(CApplication* app);
    ~CHTML() override;

    virtual void WriteTo(CIO* stream);
};
