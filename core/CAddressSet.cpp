#include "core/CAddressSet.h"

#include <cstdlib>

namespace {
bool Representable(uintptr_t address, unsigned granuleBits, unsigned addressBits)
{
    return address != 0 && (address & ((uintptr_t{1} << granuleBits) - 1)) == 0 && (address >> addressBits) == 0;
}
}  // namespace

CAddressSet::CAddressSet() : areas(static_cast<uint64_t***>(std::calloc(AreaCount, sizeof(uint64_t**)))) {}

CAddressSet::~CAddressSet()
{
    Clear();
    std::free(areas);
}

bool CAddressSet::Insert(const void* pointer)
{
    auto address = reinterpret_cast<uintptr_t>(pointer);
    if (!areas || !Representable(address, GranuleBits, AddressBits))
        return false;
    uint64_t* bitmap = MakeBitmap(address);
    if (!bitmap)
        return false;
    size_t granule = (address >> GranuleBits) & ((size_t{1} << (RegionBits - GranuleBits)) - 1);
    uint64_t bit = uint64_t{1} << (granule & 63);
    if (!(bitmap[granule / 64] & bit)) {
        bitmap[granule / 64] |= bit;
        count++;
    }
    return true;
}

bool CAddressSet::Erase(const void* pointer)
{
    auto address = reinterpret_cast<uintptr_t>(pointer);
    uint64_t* bitmap = Bitmap(address);
    if (!bitmap)
        return false;
    size_t granule = (address >> GranuleBits) & ((size_t{1} << (RegionBits - GranuleBits)) - 1);
    uint64_t bit = uint64_t{1} << (granule & 63);
    if (!(bitmap[granule / 64] & bit))
        return false;
    bitmap[granule / 64] &= ~bit;
    count--;
    return true;
}

bool CAddressSet::Contains(const void* pointer) const
{
    auto address = reinterpret_cast<uintptr_t>(pointer);
    uint64_t* bitmap = Bitmap(address);
    if (!bitmap)
        return false;
    size_t granule = (address >> GranuleBits) & ((size_t{1} << (RegionBits - GranuleBits)) - 1);
    return (bitmap[granule / 64] >> (granule & 63)) & 1;
}

void CAddressSet::Clear()
{
    for (size_t a = 0; areas && a < AreaCount; a++) {
        if (!areas[a])
            continue;
        for (size_t r = 0; r < RegionsPerArea; r++)
            std::free(areas[a][r]);
        std::free(areas[a]);
        areas[a] = nullptr;
    }
    count = 0;
}

// The bitmap of the region holding the address, or null when there is none.
uint64_t* CAddressSet::Bitmap(uintptr_t address) const
{
    if (!areas || !Representable(address, GranuleBits, AddressBits))
        return nullptr;
    uint64_t** area = areas[address >> AreaBits];
    return area ? area[(address >> RegionBits) & (RegionsPerArea - 1)] : nullptr;
}

uint64_t* CAddressSet::MakeBitmap(uintptr_t address)
{
    uint64_t**& area = areas[address >> AreaBits];
    if (!area && !(area = static_cast<uint64_t**>(std::calloc(RegionsPerArea, sizeof(uint64_t*)))))
        return nullptr;
    uint64_t*& bitmap = area[(address >> RegionBits) & (RegionsPerArea - 1)];
    if (!bitmap)
        bitmap = static_cast<uint64_t*>(std::calloc(WordsPerBitmap, sizeof(uint64_t)));
    return bitmap;
}
