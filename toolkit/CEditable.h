#pragma once

#include <cstdint>

// The second base of the editors: whether their text may be changed. Navigation,
// marking and copying work either way.
class CEditable {
public:
    virtual void SetEditable(uint32_t flag) { editable = flag; }
    virtual uint32_t IsEditable() const { return editable; }

    uint32_t editable = 1;

protected:
    ~CEditable() = default;
};
