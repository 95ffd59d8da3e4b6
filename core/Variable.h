#pragma once

#include <cstdint>

class CObject;

// Validation modes for checked access through a Variable.
enum ValidationMode : uint8_t {
    TrustAlways = 0,      // every pointer is trusted
    TrustRegistered = 1,  // only objects in the registry
    TrustCreated = 2,     // only registered objects whose `created` flag is set
};

void SetValidationMode(uint8_t mode);
uint8_t GetValidationMode();

// Passes the validation mode: the test made by checked reads and by copies.
bool IsTrusted(const CObject* object);

// Deletes the object when it is alive, unreferenced, unprotected and the application
// deletes on release; otherwise consumes a protection at count 0. Shared by Variable
// releases; `honourAutoDelete` is false for the release made by lists.
void ReleaseObject(CObject* object, bool honourAutoDelete);

// A counted, registry-checked reference to a framework object.
class Variable {
public:
    Variable() = default;
    // Holds a freshly made object: takes a reference without a registry check.
    Variable(CObject* fresh);  // NOLINT(google-explicit-constructor)
    Variable(const Variable& other);
    Variable& operator=(const Variable& other);
    Variable& operator=(CObject* object);
    ~Variable();

    CObject* Get() const { return pointer; }
    CObject* GetChecked() const;
    void Clear();

    template <class T>
    T* As() const { return static_cast<T*>(pointer); }
    template <class T>
    T* CheckedAs() const { return static_cast<T*>(GetChecked()); }

    explicit operator bool() const { return pointer != nullptr; }

private:
    void Assign(CObject* object);
    static void Release(CObject* object);

    CObject* pointer = nullptr;
};
