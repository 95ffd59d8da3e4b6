#include "core/CPointerComparator.h"

#include <cstdint>

namespace {
int SignOfDifference(const void* later, const void* earlier)
{
    auto a = reinterpret_cast<uintptr_t>(later);
    auto b = reinterpret_cast<uintptr_t>(earlier);
    return (a > b) - (a < b);
}
}  // namespace

CPointerComparator::CPointerComparator(CApplication* app, RegistryChoice choice) : CComparator(app, choice)
{
    className = "CPointerComparator";
}

CPointerComparator::~CPointerComparator() { LeaveRegistry(); }

int CPointerComparator::CompareItems(const CObject* a, const CObject* b) { return SignOfDifference(b, a); }

int CPointerComparator::CompareKey(const CObject* e) { return SignOfDifference(e, key); }

void CPointerComparator::SetKey(const void* k) { key = k; }
