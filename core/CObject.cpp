#include "core/CObject.h"

#include "core/CApplication.h"

CObject::CObject() = default;

CObject::~CObject() { LeaveRegistry(); }

void CObject::LeaveRegistry()
{
    if (registered) {
        Unregister();
        registered = 0;
    }
}

void CObject::Register() {}

void CObject::Unregister() {}

CObject* CObject::AddReference()
{
    references++;
    return this;
}

CObject* CObject::RemoveReference()
{
    if (references >= 1)
        references--;
    return this;
}

void CObject::AddReferences(int n) { references += n; }

void CObject::RemoveReferences(int n) { references = n >= references ? 0 : references - n; }

int CObject::GetReferenceCount() const { return references; }

int CObject::IsProtected() const { return protectedOnce; }

void CObject::Protect() { protectedOnce = 1; }

int CObject::ConsumeProtection()
{
    if (!protectedOnce)
        return 0;
    protectedOnce = 0;
    return 1;
}

const char* CObject::GetClassName() const { return className; }

void CObject::SetClassName(const char* name) { className = name; }

int CObject::Destroy() { return 1; }

void* CObject::operator new(std::size_t size) { return CApplication::AllocateBlock(size); }

void CObject::operator delete(void* block) noexcept { CApplication::Free(block); }
