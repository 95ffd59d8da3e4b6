#pragma once

#include <cstddef>
#include <cstdint>

// Open-addressing hash set of object addresses: the registry's membership index.
// Insert, erase and lookup are O(1) on average; erasing shifts entries back, so the
// table never fills with tombstones.
class CAddressSet {
public:
    CAddressSet() = default;
    ~CAddressSet();
    CAddressSet(const CAddressSet&) = delete;
    CAddressSet& operator=(const CAddressSet&) = delete;

    bool Insert(const void* address);  // false when the table cannot grow
    bool Erase(const void* address);
    bool Contains(const void* address) const;
    size_t Size() const { return count; }
    void Clear();

private:
    size_t SlotOf(const void* address) const;
    bool Rehash(size_t newSize);

    const void** slots = nullptr;
    size_t size = 0;  // a power of two, or 0
    size_t count = 0;
};
