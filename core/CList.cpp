#include "core/CList.h"

#include <cstdlib>
#include <cstring>
#include <utility>

#include "core/CApplication.h"
#include "core/CComparator.h"

namespace {
bool Alive(const CObject* object)
{
    CApplication* app = CApplication::Instance();
    return object && app && app->IsAlive(object);
}
}  // namespace

CList::CList(CApplication* app, RegistryChoice choice) : CComponent(app, choice) { className = "CList"; }

CList::~CList()
{
    LeaveRegistry();
    if (created)
        DestroyList();
}

int CList::Destroy() { return DestroyList(); }

int CList::DestroyList()
{
    if (!created)
        return -1;
    created = 0;
    // Detach the array first: a released element may touch this list in its destructor.
    CObject** old = std::exchange(items, nullptr);
    uint32_t oldCount = std::exchange(count, 0);
    capacity = 0;
    for (uint32_t i = 0; i < oldCount; i++)
        if (old[i] && Alive(old[i]))
            ReleaseElement(old[i]);
    CApplication::Free(old);
    return 1;
}

void CList::Create()
{
    if (created)
        DestroyList();
    items = static_cast<CObject**>(CApplication::AllocateBlock(InitialCapacity * sizeof(CObject*)));
    std::memset(items, 0, InitialCapacity * sizeof(CObject*));
    count = 0;
    capacity = InitialCapacity;
    sorted = 0;
    comparator.Clear();
    created = 1;
}

int CList::Add(CObject* object)
{
    if (!items)
        Create();
    if (count == capacity)
        Grow(true);
    items[count++] = object;
    object->AddReference();
    sorted = 0;
    return 1;
}

int CList::InsertAt(uint32_t position, CObject* object)
{
    if (position > count)
        return 0;
    if (!items)
        Create();
    if (count == capacity)
        Grow(true);
    std::memmove(items + position + 1, items + position, (count - position) * sizeof(CObject*));
    items[position] = object;
    count++;
    object->AddReference();
    sorted = 0;
    return 1;
}

int CList::AddUnreferenced(CObject* object)
{
    if (!items)
        Create();
    if (count == capacity && !Grow(false))
        return -1;
    items[count++] = object;
    sorted = 0;
    return 1;
}

int CList::Remove(CObject* object)
{
    for (uint32_t i = 0; i < count; i++) {
        if (items[i] != object)
            continue;
        RemoveSlot(i);
        if (Alive(object))
            ReleaseElement(object);
        return 1;
    }
    return 0;
}

int CList::RemoveAt(uint32_t position)
{
    if (position >= count)
        return 0;
    CObject* element = items[position];
    RemoveSlot(position);
    if (Alive(element))
        ReleaseElement(element);
    return 1;
}

CObject* CList::GetAt(uint32_t position) const { return position < count ? items[position] : nullptr; }

Variable CList::ItemAt(uint32_t position) const
{
    Variable held;
    held = GetAt(position);
    return held;
}

void CList::SetComparator(CComparator* newComparator)
{
    if (sorted && newComparator && Alive(newComparator) && newComparator != comparator.Get())
        sorted = 0;
    comparator = newComparator;
}

CComparator* CList::GetComparator() const { return comparator.As<CComparator>(); }

void CList::Sort()
{
    CComparator* c = GetComparator();
    if (count <= 1 || sorted || !c)
        return;
    auto scratch = static_cast<CObject**>(CApplication::AllocateBlock(count * sizeof(CObject*)));
    SortRange(c, scratch, 0, static_cast<long>(count) - 1);
    CApplication::Free(scratch);
    sorted = 1;
}

CObject* CList::Find()
{
    long position;
    CComparator* c = GetComparator();
    if (!c || !FindPosition(c, &position))
        return nullptr;
    return items[position];
}

void CList::RemoveKey()
{
    long position;
    CComparator* c = GetComparator();
    if (c && FindPosition(c, &position))
        RemoveAt(static_cast<uint32_t>(position));
}

void CList::Compact()
{
    uint32_t kept = 0;
    for (uint32_t i = 0; i < count; i++)
        if (items[i] && Alive(items[i]))
            items[kept++] = items[i];
    for (uint32_t i = kept; i < count; i++)
        items[i] = nullptr;
    count = kept;
}

void CList::ReleaseElement(CObject* element) { ReleaseObject(element, false); }

void CList::RemoveSlot(uint32_t position)
{
    std::memmove(items + position, items + position + 1, (count - position - 1) * sizeof(CObject*));
    items[--count] = nullptr;
}

bool CList::Grow(bool withReclaim)
{
    uint64_t wanted = capacity ? uint64_t(capacity) * GrowthFactor : InitialCapacity;
    if (wanted > UINT32_MAX / sizeof(CObject*))
        wanted = UINT32_MAX / sizeof(CObject*);
    if (wanted <= capacity)
        return false;
    size_t bytes = wanted * sizeof(CObject*);
    void* block = withReclaim ? CApplication::AllocateBlock(bytes) : std::malloc(bytes);
    if (!block)
        return false;
    auto grown = static_cast<CObject**>(block);
    std::memcpy(grown, items, count * sizeof(CObject*));
    std::memset(grown + count, 0, (wanted - count) * sizeof(CObject*));
    CApplication::Free(items);
    items = grown;
    capacity = static_cast<uint32_t>(wanted);
    return true;
}

// Quicksort with an out-of-place partition around the middle element; elements equal
// to the pivot join the front part. The larger part is looped on, not recursed into,
// so the stack stays shallow whatever the keys.
void CList::SortRange(CComparator* c, CObject** scratch, long lo, long hi)
{
    while (lo < hi) {
        long p = (lo + hi) / 2;
        CObject* pivot = items[p];
        long front = lo, back = hi;
        for (long j = lo; j <= hi; j++) {
            if (j == p)
                continue;
            CObject* e = items[j];
            if (c->CompareItems(e, pivot) >= 0)
                scratch[front++] = e;
            else
                scratch[back--] = e;
        }
        scratch[front] = pivot;
        std::memcpy(items + lo, scratch + lo, (hi - lo + 1) * sizeof(CObject*));
        if (front - lo < hi - front) {
            SortRange(c, scratch, lo, front - 1);
            lo = front + 1;
        } else {
            SortRange(c, scratch, front + 1, hi);
            hi = front - 1;
        }
    }
}

// Key search by bisection over the sorted list; the key is set in the comparator.
int CList::FindPosition(CComparator* c, long* found)
{
    if (count == 0)
        return 0;
    if (count > 1 && !sorted)
        Sort();
    int r = c->CompareKey(items[0]);
    if (r == 0) {
        *found = 0;
        return 1;
    }
    if (r > 0 || count == 1)
        return 0;
    long last = static_cast<long>(count) - 1;
    r = c->CompareKey(items[last]);
    if (r < 0)
        return 0;
    if (r == 0) {
        *found = last;
        return 1;
    }
    long l = 0, u = last, m = u / 2;
    while (m != l && m != u) {
        r = c->CompareKey(items[m]);
        if (r > 0) {
            u = m;
            m = (m + l) / 2;
        } else if (r < 0) {
            l = m;
            m = (m + u) / 2;
        } else {
            break;
        }
    }
    if (c->CompareKey(items[m]) < 0)
        m++;
    if (m > last || c->CompareKey(items[m]) != 0)
        return 0;
    *found = m;
    return 1;
}
