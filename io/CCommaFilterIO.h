#pragma once

#include "core/Variable.h"
#include "io/CIO.h"

// A filter over another stream that turns every decimal point into a decimal comma,
// in both directions; the reports use it to write numbers the Spanish way.
// The creator assigns `inner` right after construction.
class CCommaFilterIO : public CIO {
public:
    explicit CCommaFilterIO(CApplication* app);
    ~CCommaFilterIO() override;

    int Destroy() override;

    int Read(void* buffer, uint32_t size, uint32_t count) override;
    int Write(const void* buffer, uint32_t size, uint32_t count) override;

    Variable inner;

private:
    CIO* Inner() const;
};
