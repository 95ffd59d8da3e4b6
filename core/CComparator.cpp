#include "core/CComparator.h"

CComparator::CComparator(CApplication* app, RegistryChoice choice) : CComponent(app, choice)
{
    className = "CComparator";
}

CComparator::~CComparator() { LeaveRegistry(); }

int CComparator::CompareItems(const CObject*, const CObject*) { return 0; }

int CComparator::CompareKey(const CObject*) { return 0; }

void CComparator::SetKey(const void*) {}
