#pragma once

#include <cstddef>
#include <cstdint>

// The registry's membership index: one bit for every 8 bytes of address space in use,
// found through a two-level table. Objects lie close together in memory, so the bits
// of a million objects fit in about a megabyte and a test rarely leaves the cache —
// unlike a hash of addresses, whose every probe lands somewhere else.
class CAddressSet {
public:
    CAddressSet();
    ~CAddressSet();
    CAddressSet(const CAddressSet&) = delete;
    CAddressSet& operator=(const CAddressSet&) = delete;

    bool Insert(const void* address);  // false when the index cannot grow
    bool Erase(const void* address);
    bool Contains(const void* address) const;
    size_t Size() const { return count; }
    void Clear();

private:
    static constexpr unsigned GranuleBits = 3;  // objects hold a pointer: 8-byte aligned
    static constexpr unsigned RegionBits = 20;  // a bitmap covers 1 MiB
    static constexpr unsigned AreaBits = 36;    // a region table covers 64 GiB
    static constexpr unsigned AddressBits = 48;
    static constexpr size_t AreaCount = size_t{1} << (AddressBits - AreaBits);
    static constexpr size_t RegionsPerArea = size_t{1} << (AreaBits - RegionBits);
    static constexpr size_t WordsPerBitmap = (size_t{1} << (RegionBits - GranuleBits)) / 64;

    uint64_t* Bitmap(uintptr_t address) const;
    uint64_t* MakeBitmap(uintptr_t address);

    uint64_t*** areas;  // AreaCount region tables, each RegionsPerArea bitmaps
    size_t count = 0;
};
