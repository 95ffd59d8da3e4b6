#pragma once

#include "core/CComponent.h"

// Pluggable ordering for lists: CompareItems orders two elements, CompareKey places
// one element against a key set beforehand.
class CComparator : public CComponent {
public:
    explicit CComparator(CApplication* app, RegistryChoice choice = Registered);
    ~CComparator() override;

    // Positive when a belongs before b, negative when after, 0 when equal.
    virtual int CompareItems(const CObject* a, const CObject* b);
    // Positive when e belongs after the key, negative before, 0 when e is the key.
    virtual int CompareKey(const CObject* e);
    virtual void SetKey(const void* key);
};
