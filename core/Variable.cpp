#include "core/Variable.h"

#include "core/CApplication.h"

namespace {
uint8_t validationMode = TrustRegistered;

bool InRegistry(const CObject* object)
{
    CApplication* app = CApplication::Instance();
    return object && app && app->IsAlive(object);
}
}  // namespace

void SetValidationMode(uint8_t mode) { validationMode = mode; }

uint8_t GetValidationMode() { return validationMode; }

bool IsTrusted(const CObject* object)
{
    switch (validationMode) {
    case TrustAlways:
        return true;
    case TrustRegistered:
        return InRegistry(object);
    default:
        return InRegistry(object) && object->created;
    }
}

void ReleaseObject(CObject* object, bool honourAutoDelete)
{
    object->RemoveReference();
    if (object->GetReferenceCount() != 0 || object->ConsumeProtection())
        return;
    CApplication* app = CApplication::Instance();
    if (!honourAutoDelete || (app && app->autoDelete))
        delete object;
}

Variable::Variable(CObject* fresh) : pointer(fresh)
{
    if (pointer)
        pointer->AddReference();
}

Variable::Variable(const Variable& other)
{
    if (other.pointer && IsTrusted(other.pointer)) {
        pointer = other.pointer;
        pointer->AddReference();
    }
}

Variable& Variable::operator=(const Variable& other)
{
    Assign(other.pointer);
    return *this;
}

Variable& Variable::operator=(CObject* object)
{
    Assign(object);
    return *this;
}

Variable::~Variable() { Release(pointer); }

CObject* Variable::GetChecked() const { return pointer && IsTrusted(pointer) ? pointer : nullptr; }

void Variable::Clear()
{
    CObject* old = pointer;
    pointer = nullptr;
    Release(old);
}

void Variable::Assign(CObject* object)
{
    if (object == pointer)
        return;
    // Take the new reference first: releasing the old object may delete the new one
    // when the old one was its last holder.
    bool alive = InRegistry(object);
    if (alive)
        object->AddReference();
    CObject* old = pointer;
    pointer = object;
    Release(old);
}

void Variable::Release(CObject* object)
{
    if (object && InRegistry(object))
        ReleaseObject(object, true);
}
