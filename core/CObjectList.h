#pragma once

#include "core/CList.h"

// The same array as CList without references: for elements that own themselves
// (the registry, window and component lists).
class CObjectList : public CList {
public:
    explicit CObjectList(CApplication* app, RegistryChoice choice = Registered);
    ~CObjectList() override;

    int RemoveAt(uint32_t position) override;

    // Deletes the elements first to last; each leaves the list in its destructor.
    void DeleteAll();

protected:
    void ReleaseElement(CObject* element) override;
};
