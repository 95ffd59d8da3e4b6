#include "io/CCommaFilterIO.h"

#include <cstring>

#include "core/CApplication.h"

namespace {
void PointsToCommas(char* bytes, uint64_t n)
{
    for (uint64_t i = 0; i < n; i++)
        if (bytes[i] == '.')
            bytes[i] = ',';
}

// The block is taken per call, of the call's size, and always given back.
struct TemporaryBlock {
    TemporaryBlock(CApplication* app, uint64_t n)
        : bytes(static_cast<char*>(app ? app->Allocate(n) : CApplication::AllocateBlock(n))) {}
    ~TemporaryBlock() { CApplication::Free(bytes); }
    TemporaryBlock(const TemporaryBlock&) = delete;
    TemporaryBlock& operator=(const TemporaryBlock&) = delete;
    char* bytes;
};
}  // namespace

CCommaFilterIO::CCommaFilterIO(CApplication* app) : CIO(app) { className = "CCommaFilterIO"; }

CCommaFilterIO::~CCommaFilterIO() { LeaveRegistry(); }

int CCommaFilterIO::Destroy()
{
    inner.Clear();
    return 1;
}

int CCommaFilterIO::Read(void* buffer, uint32_t size, uint32_t count)
{
    uint64_t n = uint64_t(size) * count;
    CIO* stream = Inner();
    if (n == 0 || !stream)
        return 0;
    TemporaryBlock block(application, n);
    // Start from the caller's bytes, so that a short read (whose result may count bytes
    // or items) never hands out bytes that were never written.
    std::memcpy(block.bytes, buffer, n);
    int result = stream->Read(block.bytes, size, count);
    uint64_t delivered = result <= 0 ? 0 : uint64_t(result) * size;
    if (delivered > n)
        delivered = n;
    PointsToCommas(block.bytes, delivered);
    std::memcpy(buffer, block.bytes, delivered);
    return result;
}

int CCommaFilterIO::Write(const void* buffer, uint32_t size, uint32_t count)
{
    uint64_t n = uint64_t(size) * count;
    CIO* stream = Inner();
    if (n == 0 || !stream)
        return 0;
    TemporaryBlock block(application, n);
    std::memcpy(block.bytes, buffer, n);
    PointsToCommas(block.bytes, n);
    return stream->Write(block.bytes, size, count);
}

CIO* CCommaFilterIO::Inner() const { return inner.CheckedAs<CIO>(); }
