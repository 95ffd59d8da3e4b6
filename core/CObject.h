#pragma once

#include <cstddef>
#include <cstdint>

class CApplication;

// Root of every framework class: class name, registration with the application's
// registry, a reference count and a one-time protection from deletion.
//
// Destruction runs per class level, most derived first: each level's destructor
// leaves the registry (LeaveRegistry) and, while `created` is set, runs that level's
// own Destroy non-virtually and clears `created`.
class CObject {
public:
    CObject();
    virtual ~CObject();

    virtual void Register();
    virtual void Unregister();
    virtual CObject* AddReference();
    virtual CObject* RemoveReference();
    virtual void AddReferences(int n);
    virtual void RemoveReferences(int n);
    virtual int GetReferenceCount() const;
    virtual int IsProtected() const;
    virtual void Protect();
    virtual int ConsumeProtection();
    virtual const char* GetClassName() const;
    virtual void SetClassName(const char* name);
    virtual int Destroy();

    // Framework objects live on the heap and their memory comes from the
    // application's allocator, which reclaims unreferenced objects when memory runs out.
    static void* operator new(std::size_t size);
    static void operator delete(void* block) noexcept;

    CApplication* application = nullptr;
    const char* className = nullptr;
    int32_t references = 0;
    uint32_t registrySlot = 0;  // position in the application's creation-order list
    uint8_t registered = 0;
    uint8_t created = 0;
    uint8_t protectedOnce = 0;

protected:
    // Unregisters the object if it is registered; called by every destructor first.
    void LeaveRegistry();
};
