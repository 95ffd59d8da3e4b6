#pragma once

#include <cstdint>

#include "core/CComponent.h"
#include "core/Variable.h"

class CComparator;

// Growable array of framework objects in insertion order, holding a reference on each
// element; sortable with its comparator and searchable by key once sorted.
class CList : public CComponent {
public:
    static constexpr uint32_t InitialCapacity = 512;
    static constexpr uint32_t GrowthFactor = 5;

    explicit CList(CApplication* app, RegistryChoice choice = Registered);
    ~CList() override;

    int Destroy() override;
    virtual int Remove(CObject* object);
    virtual int RemoveAt(uint32_t position);

    void Create();
    int Add(CObject* object);
    // Puts the object at `position` (at most the count), the later ones one further on.
    int InsertAt(uint32_t position, CObject* object);
    int AddUnreferenced(CObject* object);
    CObject* GetAt(uint32_t position) const;
    Variable ItemAt(uint32_t position) const;
    uint32_t GetCount() const { return count; }
    uint32_t GetCapacity() const { return capacity; }
    void SetComparator(CComparator* newComparator);
    CComparator* GetComparator() const;
    void Sort();
    CObject* Find();
    void RemoveKey();
    void Compact();

    CObject** items = nullptr;
    uint32_t count = 0;
    uint32_t capacity = 0;
    Variable comparator;
    uint16_t sorted = 0;

protected:
    // Releases what the list holds; CObjectList holds nothing.
    virtual void ReleaseElement(CObject* element);
    void RemoveSlot(uint32_t position);
    int DestroyList();

private:
    int FindPosition(CComparator* c, long* found);
    bool Grow(bool withReclaim);
    void SortRange(CComparator* c, CObject** scratch, long lo, long hi);
};
