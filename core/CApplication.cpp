#include "core/CApplication.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "core/CObjectList.h"
#include "platform/Sockets.h"

namespace {
CApplication* instance = nullptr;
void* instanceHandle = nullptr;
const char* title = nullptr;

// Entries of unregistered objects are compacted once they are this many and half of
// the list.
constexpr size_t CompactionThreshold = 1024;
constexpr int AllocationRetries = 100;

void* AllocateOrDie(size_t size, CApplication* app)
{
    if (size == 0)
        size = 1;
    for (int attempt = 0; attempt <= AllocationRetries; attempt++) {
        if (void* block = std::malloc(size))
            return block;
        if (app)
            app->Reclaim();
        if (attempt > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // Going on without the block would corrupt data: stop loudly instead.
    std::fputs("Memoria agotada\n", stderr);
    std::abort();
}

struct LockHold {
    explicit LockHold(CRegistryLock& l) : lock(l) { lock.acquire(); }
    ~LockHold() { lock.release(); }
    CRegistryLock& lock;
};
}  // namespace

CApplication::CApplication()
{
    className = "CApplication";
    application = this;
    objects = new CObjectList(this, CComponent::NotRegistered);
    Instance(this);
    if (!platform::StartSockets(2, 0)) {
        std::fputs("Error iniciando sockets !\n", stdout);
        std::fflush(stdout);
        std::exit(-1);
    }
    objects->Create();
    reclaimLock = std::make_unique<CRegistryLock>(1);
    registryLock = std::make_unique<CRegistryLock>(1);
    created = 1;
    autoDelete = 1;
}

CApplication::~CApplication()
{
    if (created)
        Shutdown();
    if (instance == this)
        instance = nullptr;
}

void CApplication::Register() {}

void CApplication::Unregister() {}

int CApplication::Destroy() { return 1; }

int CApplication::Shutdown()
{
    if (!created)
        return 1;
    autoDelete = 0;
    platform::StopSockets();
    walking++;
    // Oldest first; objects made by destructors meanwhile are appended and reached too.
    for (uint32_t position = 0; position < objects->count; position++) {
        CObject* object = objects->items[position];
        if (!Holds(position, object))
            continue;
        delete object;
        if (IsAlive(object))  // it did not unregister itself
            UnregisterObject(object);
    }
    walking--;
    delete objects;
    objects = nullptr;
    index.Clear();
    reclaimLock.reset();
    registryLock.reset();
    created = 0;
    return 1;
}

bool CApplication::RegisterObject(CObject* object)
{
    if (!object || !registryLock)
        return false;
    LockHold hold(*registryLock);
    if (!index.Insert(object))
        return false;
    if (objects->AddUnreferenced(object) < 0) {
        index.Erase(object);
        return false;
    }
    object->registrySlot = objects->count - 1;
    return true;
}

void CApplication::UnregisterObject(CObject* object)
{
    if (!object || !registryLock)
        return;
    LockHold hold(*registryLock);
    if (!index.Erase(object))
        return;
    size_t stale = objects->count - index.Size();
    if (!walking && stale >= CompactionThreshold && stale * 2 > objects->count)
        CompactObjects();
}

int CApplication::IsAlive(const CObject* object) const { return index.Contains(object) ? 1 : 0; }

void CApplication::Reclaim()
{
    // A pass already running (a destructor that allocates) is not entered again.
    if (!created || !reclaimLock->try_acquire())
        return;
    registryLock->acquire();
    walking++;
    for (uint32_t position = 0; position < objects->count; position++) {
        CObject* object = objects->items[position];
        if (!Holds(position, object) || object->GetReferenceCount() != 0)
            continue;
        if (object->ConsumeProtection())
            continue;
        registryLock->release();
        delete object;
        registryLock->acquire();
    }
    walking--;
    CompactObjects();
    registryLock->release();
    reclaimLock->release();
}

void* CApplication::Allocate(size_t size) { return AllocateOrDie(size, this); }

void CApplication::Free(void* block) { std::free(block); }

void* CApplication::AllocateBlock(size_t size) { return AllocateOrDie(size, instance); }

CApplication* CApplication::Instance(CApplication* app)
{
    if (app)
        instance = app;
    return instance;
}

void* CApplication::InstanceHandle(void* handle)
{
    if (handle)
        instanceHandle = handle;
    return instanceHandle;
}

const char* CApplication::Title(const char* text)
{
    if (text)
        title = text;
    return title;
}

// Whether the entry at this position of `objects` is a live object registered there.
// An unregistered object's entry stays until the next compaction, and its address
// may by then belong to a newer object, registered at a later position: only an
// address the index knows is read, and its own position must match.
bool CApplication::Holds(uint32_t position, const CObject* object) const
{
    return object && index.Contains(object) && object->registrySlot == position;
}

// Removes the entries of unregistered objects, renumbering the slots; called with the
// registry lock held.
void CApplication::CompactObjects()
{
    uint32_t kept = 0;
    for (uint32_t position = 0; position < objects->count; position++) {
        CObject* object = objects->items[position];
        if (!Holds(position, object))
            continue;
        object->registrySlot = kept;
        objects->items[kept++] = object;
    }
    for (uint32_t position = kept; position < objects->count; position++)
        objects->items[position] = nullptr;
    objects->count = kept;
}
