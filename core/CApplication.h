#pragma once

#include <cstddef>
#include <memory>

#include "core/CAddressSet.h"
#include "core/CObject.h"
#include "platform/Semaphore.h"

class CObjectList;

using CRegistryLock = platform::Semaphore;

// The process's one application object: owner of the registry of live objects, its
// two locks, and the switch that lets releases delete objects.
//
// `objects` keeps every registered object in creation order, so memory reclaim and
// Shutdown can walk them oldest first. Membership is answered by `index`, a bitmap of
// addresses. Unregistering clears the object's bit only: its entry in `objects` is
// dropped by the next compaction, which runs once such entries are half the list, so
// neither operation touches memory far from the object.
class CApplication : public CObject {
public:
    CApplication();
    ~CApplication() override;

    void Register() override;
    void Unregister() override;
    int Destroy() override;

    int Shutdown();
    bool RegisterObject(CObject* object);
    void UnregisterObject(CObject* object);
    int IsAlive(const CObject* object) const;
    void Reclaim();
    void* Allocate(size_t size);
    static void Free(void* block);

    // Number of live registered objects.
    size_t GetObjectCount() const { return index.Size(); }

    // Process-wide values: a non-null argument stores, null reads.
    static CApplication* Instance(CApplication* app = nullptr);
    static void* InstanceHandle(void* handle = nullptr);
    static const char* Title(const char* title = nullptr);

    // Allocation with reclaim through the process's application when there is one.
    static void* AllocateBlock(size_t size);

    CObjectList* objects = nullptr;
    CAddressSet index;
    std::unique_ptr<CRegistryLock> reclaimLock;
    std::unique_ptr<CRegistryLock> registryLock;
    uint8_t autoDelete = 0;

private:
    bool Holds(uint32_t position, const CObject* object) const;
    void CompactObjects();

    int walking = 0;          // reclaim or shutdown passes running: no compaction meanwhile
};
