#include "core/CAddressSet.h"

#include <cstdlib>

namespace {
constexpr size_t MinimumSize = 1024;
}

CAddressSet::~CAddressSet() { std::free(slots); }

bool CAddressSet::Insert(const void* address)
{
    if (!address)
        return false;
    // Keep the load at or below one half: probes stay short.
    if ((count + 1) * 2 > size && !Rehash(size ? size * 2 : MinimumSize))
        return false;
    size_t i = SlotOf(address);
    while (slots[i]) {
        if (slots[i] == address)
            return true;
        i = (i + 1) & (size - 1);
    }
    slots[i] = address;
    count++;
    return true;
}

bool CAddressSet::Erase(const void* address)
{
    if (!address || !size)
        return false;
    size_t mask = size - 1;
    size_t i = SlotOf(address);
    while (slots[i] != address) {
        if (!slots[i])
            return false;
        i = (i + 1) & mask;
    }
    // Backward-shift deletion: move later entries of the probe run into the gap when
    // their home slot does not lie between the gap and their position.
    size_t gap = i;
    for (size_t j = (i + 1) & mask; slots[j]; j = (j + 1) & mask) {
        size_t home = SlotOf(slots[j]);
        bool homeBetween = gap <= j ? (gap < home && home <= j) : (gap < home || home <= j);
        if (!homeBetween) {
            slots[gap] = slots[j];
            gap = j;
        }
    }
    slots[gap] = nullptr;
    count--;
    return true;
}

bool CAddressSet::Contains(const void* address) const
{
    if (!address || !count)
        return false;
    for (size_t i = SlotOf(address);; i = (i + 1) & (size - 1)) {
        if (slots[i] == address)
            return true;
        if (!slots[i])
            return false;
    }
}

void CAddressSet::Clear()
{
    std::free(slots);
    slots = nullptr;
    size = count = 0;
}

size_t CAddressSet::SlotOf(const void* address) const
{
    // Fibonacci hashing of the address; low bits are alignment and carry nothing.
    uint64_t h = (reinterpret_cast<uintptr_t>(address) >> 3) * 0x9E3779B97F4A7C15ull;
    return static_cast<size_t>(h >> 32) & (size - 1);
}

bool CAddressSet::Rehash(size_t newSize)
{
    auto fresh = static_cast<const void**>(std::calloc(newSize, sizeof(void*)));
    if (!fresh)
        return false;
    const void** old = slots;
    size_t oldSize = size;
    slots = fresh;
    size = newSize;
    for (size_t i = 0; i < oldSize; i++) {
        if (!old[i])
            continue;
        size_t j = SlotOf(old[i]);
        while (slots[j])
            j = (j + 1) & (size - 1);
        slots[j] = old[i];
    }
    std::free(old);
    return true;
}
