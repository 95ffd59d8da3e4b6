#include "core/CString.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "core/CApplication.h"
#include "core/CList.h"
#include "core/Variable.h"

namespace {
constexpr uint32_t SmallestBlock = 8;

char* NewBlock(uint32_t bytes) { return static_cast<char*>(CApplication::AllocateBlock(bytes ? bytes : 1)); }

uint32_t Grown(uint64_t wanted) { return static_cast<uint32_t>(std::min<uint64_t>(wanted, UINT32_MAX)); }

// Formats into a block of the conversion's own room and hands the text to `use`.
template <class Use>
void WithFormatted(double value, int digits, Use use)
{
    uint32_t room = static_cast<uint32_t>(std::max(digits, 0)) + 36;
    char local[256];
    char* out = room <= sizeof local ? local : NewBlock(room);
    uint32_t n = FormatGeneral(value, digits, out, room);
    use(out, n);
    if (out != local)
        CApplication::Free(out);
}
}  // namespace

CString::CString(CApplication* app) : CComponent(app) { className = "CString"; }

CString::~CString()
{
    LeaveRegistry();
    if (created)
        DestroyString();
}

int CString::Destroy() { return DestroyString(); }

int CString::DestroyString()
{
    if (created)
        CApplication::Free(buffer);
    buffer = nullptr;
    length = capacity = allocated = 0;
    created = 0;
    return 0;
}

void CString::Create() { Reserve(256); }

void CString::Reserve(uint32_t n)
{
    n = std::max(n, SmallestBlock);
    char* block = NewBlock(n);
    block[0] = block[1] = 0;
    Replace(block, 0, n, n);
}

void CString::SetText(const char* text) { SetText(text, static_cast<uint32_t>(std::strlen(text))); }

void CString::SetText(const char* text, uint32_t size) { SetExact(text, size, Grown(uint64_t(size) / 16 * 16 + 32)); }

void CString::SetString(CString* other)
{
    Variable hold;
    hold = other;
    if (!other) {
        SetExact("", 0, 32);
        return;
    }
    SetExact(other->buffer, other->length, Grown(uint64_t(other->length) + 32));
}

void CString::Adopt(char* heapBlock)
{
    auto n = static_cast<uint32_t>(std::strlen(heapBlock));
    Replace(heapBlock, n, n + 1, n + 1);
}

void CString::SetNumber(double value, int digits)
{
    uint32_t wanted = std::max<uint32_t>(static_cast<uint32_t>(std::max(digits, 0)) + 38, SmallestBlock);
    WithFormatted(value, digits, [&](const char* text, uint32_t n) { SetExact(text, n, wanted); });
}

void CString::AppendChar(char c)
{
    if (capacity <= length)
        GrowTo(capacity ? Grown(uint64_t(capacity) * 3) : SmallestBlock);
    EnsureAllocated(length + 1);
    buffer[length++] = c;
}

void CString::InsertChar(uint32_t position, char c)
{
    if (position >= length) {
        AppendChar(c);
        return;
    }
    if (capacity <= length)
        GrowTo(Grown(uint64_t(capacity) * 3));
    EnsureAllocated(length + 1);
    std::memmove(buffer + position + 1, buffer + position, length - position);
    buffer[position] = c;
    length++;
}

void CString::DeleteChar(uint32_t position)
{
    if (length == 0)
        return;
    position = std::min(position, length - 1);
    std::memmove(buffer + position, buffer + position + 1, length - position - 1);
    length--;
}

void CString::DeleteRange(uint32_t a, uint32_t b)
{
    if (length == 0)
        return;
    uint32_t lo = std::min({a, b, length});
    uint32_t hi = std::min(std::max(a, b), length);
    std::memmove(buffer + lo, buffer + hi, length - hi);
    length -= hi - lo;
}

void CString::AppendText(const char* text) { AppendText(text, static_cast<uint32_t>(std::strlen(text))); }

void CString::AppendText(const char* text, uint32_t size)
{
    if (capacity - length <= size)
        GrowTo(Grown(uint64_t(capacity) + size + 32));
    EnsureAllocated(length + size);
    std::memcpy(buffer + length, text, size);
    length += size;
}

void CString::AppendString(CString* other)
{
    Variable hold;
    hold = other;
    if (!other || other->length == 0)
        return;
    uint32_t n = other->length;
    if (capacity - length <= n)
        GrowTo(Grown(uint64_t(capacity) + n + 32));
    EnsureAllocated(length + n);
    // Read the source after growing: it may be this very string.
    std::memcpy(buffer + length, other->buffer, n);
    length += n;
}

void CString::InsertString(uint32_t position, CString* other)
{
    Variable hold;
    hold = other;
    if (!other || other->length == 0)
        return;
    std::string copy(other->buffer, other->length);  // the source may be this string
    uint32_t n = other->length;
    position = std::min(position, length);
    if (capacity <= length + n)
        GrowTo(Grown(uint64_t(capacity) + n + 8));
    EnsureAllocated(length + n);
    std::memmove(buffer + position + n, buffer + position, length - position);
    std::memcpy(buffer + position, copy.data(), n);
    length += n;
}

void CString::FormatNumber(double value, int digits)
{
    uint32_t room = static_cast<uint32_t>(std::max(digits, 0)) + 36;
    if (capacity < room)
        GrowTo(Grown(uint64_t(capacity) + room));
    WithFormatted(value, digits, [&](const char* text, uint32_t n) {
        length = 0;
        EnsureAllocated(n + 1);
        std::memcpy(buffer, text, n);
        buffer[n] = '\0';
        length = n;
    });
}

void CString::ToUpper()
{
    for (uint32_t i = 0; i < length; i++)
        if (buffer[i] >= 'a' && buffer[i] <= 'z')
            buffer[i] = static_cast<char>(buffer[i] - 'a' + 'A');
}

const char* CString::CStr()
{
    if (capacity <= length)
        GrowTo(capacity ? Grown(uint64_t(capacity) * 3) : SmallestBlock);
    EnsureAllocated(length + 1);
    buffer[length] = '\0';
    return buffer;
}

double CString::ToNumber()
{
    if (!buffer || length == 0)
        return 0.0;
    return ParseLeadingNumber(buffer, length);
}

int CString::Equals(const char* text) const
{
    size_t n = std::strlen(text);
    return n == length && (n == 0 || std::memcmp(buffer, text, n) == 0) ? 1 : 0;
}

int CString::Compare(CString* other)
{
    Variable hold;
    hold = other;
    uint32_t n = other ? other->length : 0;
    uint32_t common = std::min(n, length);
    for (uint32_t i = 0; i < common; i++) {
        auto mine = static_cast<unsigned char>(buffer[i]);
        auto theirs = static_cast<unsigned char>(other->buffer[i]);
        if (mine != theirs)
            return mine - theirs;
    }
    if (n == length)
        return 0;
    return n < length ? 1 : -1;
}

CString* CString::Substring(uint32_t from, uint32_t to)
{
    if (from >= length)
        from = 0;
    if (to <= from || to > length)
        to = length;
    auto result = new CString(application);
    Variable hold(result);
    uint32_t n = to - from;
    char* block = NewBlock(n + 1);
    if (n)
        std::memcpy(block, buffer + from, n);
    block[n] = '\0';
    result->Replace(block, n, n + 1, n + 1);
    result->Protect();
    return result;
}

CString* CString::GetExtension()
{
    if (!buffer || length < 2)
        return nullptr;
    for (uint32_t i = length - 1; i >= 1; i--)
        if (buffer[i] == '.')
            return Substring(i + 1, length);
    return nullptr;
}

CList* CString::Split(char separator)
{
    auto list = new CList(application);
    Variable hold(list);
    list->Create();
    uint32_t start = 0;
    for (uint32_t i = 0; i <= length; i++) {
        bool atEnd = i == length;
        if (!atEnd && buffer[i] != separator)
            continue;
        if (atEnd && i == start)
            break;  // an empty last piece is not a piece
        auto piece = new CString(application);
        uint32_t n = i - start;
        char* block = NewBlock(n + 1);
        if (n)
            std::memcpy(block, buffer + start, n);
        block[n] = '\0';
        piece->Replace(block, n, n + 1, n + 1);
        list->Add(piece);
        start = i + 1;
    }
    list->Protect();
    return list;
}

void CString::Replace(char* block, uint32_t newLength, uint32_t newCapacity, uint32_t newAllocated)
{
    if (created)
        CApplication::Free(buffer);
    buffer = block;
    length = newLength;
    capacity = newCapacity;
    allocated = newAllocated;
    created = 1;
}

// Sets the whole text. A block that already holds the text is reused; a new one holds
// just the text and a terminating zero until an edit needs the rest of the capacity.
void CString::SetExact(const char* bytes, uint32_t size, uint32_t newCapacity)
{
    newCapacity = std::max(newCapacity, size + 1);
    if (created && allocated >= size + 1) {
        std::memmove(buffer, bytes, size);  // the text may come from this very block
        buffer[size] = '\0';
        length = size;
        capacity = newCapacity;
        allocated = std::min(allocated, newCapacity);
        return;
    }
    char* block = NewBlock(size + 1);
    if (size)
        std::memcpy(block, bytes, size);
    block[size] = '\0';
    Replace(block, size, newCapacity, size + 1);
}

void CString::EnsureAllocated(uint32_t bytes)
{
    if (allocated >= bytes)
        return;
    uint32_t grown = std::max(bytes, capacity);
    char* block = NewBlock(grown);
    if (length)
        std::memcpy(block, buffer, length);
    if (created)
        CApplication::Free(buffer);
    buffer = block;
    allocated = grown;
    created = 1;
}

void CString::GrowTo(uint32_t newCapacity)
{
    capacity = newCapacity;
    EnsureAllocated(newCapacity);
}
