#pragma once

#include "core/CComparator.h"
#include "platform/PWindowSystem.h"

// Finds window components by native window handle: the key is a handle, and a
// component matches when its handle equals it. Items order by handle, unsigned.
class CIWindowComparator : public CComparator {
public:
    explicit CIWindowComparator(CApplication* app, RegistryChoice choice = Registered);
    ~CIWindowComparator() override;

    int CompareItems(const CObject* a, const CObject* b) override;
    int CompareKey(const CObject* e) override;
    // `key` points at a platform::PHandle.
    void SetKey(const void* key) override;

    platform::PHandle key = 0;
};
