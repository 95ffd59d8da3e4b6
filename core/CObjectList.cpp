#include "core/CObjectList.h"

CObjectList::CObjectList(CApplication* app, RegistryChoice choice) : CList(app, choice)
{
    className = "CObjectList";
}

CObjectList::~CObjectList()
{
    LeaveRegistry();
    if (created)
        DestroyList();
}

int CObjectList::RemoveAt(uint32_t position)
{
    if (position < count)
        RemoveSlot(position);
    return 1;
}

void CObjectList::DeleteAll()
{
    while (count) {
        CObject* first = items[0];
        uint32_t before = count;
        delete first;
        // An element that did not leave the list by itself is taken out here.
        if (count == before && items[0] == first)
            RemoveSlot(0);
    }
}

void CObjectList::ReleaseElement(CObject*) {}
