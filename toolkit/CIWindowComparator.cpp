#include "toolkit/CIWindowComparator.h"

#include "toolkit/CWComponent.h"

namespace {
platform::PHandle HandleOf(const CObject* object)
{
    return object ? static_cast<const CWComponent*>(object)->GetHandle() : 0;
}

int Sign(platform::PHandle later, platform::PHandle earlier) { return (later > earlier) - (later < earlier); }
}  // namespace

CIWindowComparator::CIWindowComparator(CApplication* app, RegistryChoice choice) : CComparator(app, choice)
{
    className = "CIWindowComparator";
}

CIWindowComparator::~CIWindowComparator() { LeaveRegistry(); }

int CIWindowComparator::CompareItems(const CObject* a, const CObject* b) { return Sign(HandleOf(b), HandleOf(a)); }

int CIWindowComparator::CompareKey(const CObject* e) { return Sign(HandleOf(e), key); }

void CIWindowComparator::SetKey(const void* k) { key = k ? *static_cast<const platform::PHandle*>(k) : 0; }
