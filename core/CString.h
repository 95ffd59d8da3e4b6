#pragma once

#include <cstdint>

#include "core/CComponent.h"
#include "core/NumberText.h"

class CList;

// Growable 8-bit text with an explicit length (Windows-1252 bytes, not terminated
// except where an operation says so), with the system's number conversions.
//
// `capacity` is the room the text may use before it grows, following the growth rules
// of each operation. The block behind `buffer` may be smaller (`allocated`) for texts
// set whole, and is enlarged to `capacity` the first time an edit needs the room; so
// a cell holding a number costs little memory. Only `length` bytes of GetBuffer are
// meaningful; never write through it.
//
// Operations taking another CString hold a reference on it for their duration, so an
// argument with count 0 and no protection is deleted when they return. Operations that
// return a new object hand it over with count 0 and no protection.
class CString : public CComponent {
public:
    explicit CString(CApplication* app);
    ~CString() override;

    int Destroy() override;

    void Create();
    void Reserve(uint32_t n);
    void SetText(const char* text);
    void SetText(const char* text, uint32_t size);  // exact bytes, may hold zeros
    void SetString(CString* other);
    void Adopt(char* heapBlock);  // block from CApplication::Allocate
    void SetNumber(double value, int digits);

    void AppendChar(char c);
    void InsertChar(uint32_t position, char c);
    void DeleteChar(uint32_t position);
    void DeleteRange(uint32_t a, uint32_t b);
    void AppendText(const char* text);
    void AppendText(const char* text, uint32_t size);
    void AppendString(CString* other);
    void InsertString(uint32_t position, CString* other);
    void FormatNumber(double value, int digits);
    void ToUpper();

    const char* GetBuffer() const { return buffer; }
    uint32_t GetLength() const { return length; }
    uint32_t GetCapacity() const { return capacity; }
    const char* CStr();
    double ToNumber();
    int Equals(const char* text) const;
    int Compare(CString* other);
    CString* Substring(uint32_t from, uint32_t to);
    CString* GetExtension();
    CList* Split(char separator);

    uint32_t length = 0;
    uint32_t capacity = 0;
    uint32_t allocated = 0;
    char* buffer = nullptr;

private:
    void Replace(char* block, uint32_t newLength, uint32_t newCapacity, uint32_t newAllocated);
    void SetExact(const char* bytes, uint32_t size, uint32_t newCapacity);
    void EnsureAllocated(uint32_t bytes);
    void GrowTo(uint32_t newCapacity);
    int DestroyString();
};
