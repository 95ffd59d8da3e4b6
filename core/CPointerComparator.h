#pragma once

#include "core/CComparator.h"

// Orders objects by ascending address. Only the sign of an address difference is
// returned: a difference does not fit an int on a 64-bit machine.
class CPointerComparator : public CComparator {
public:
    explicit CPointerComparator(CApplication* app, RegistryChoice choice = Registered);
    ~CPointerComparator() override;

    int CompareItems(const CObject* a, const CObject* b) override;
    int CompareKey(const CObject* e) override;
    void SetKey(const void* key) override;

    const void* key = nullptr;
};
