#include "platform/LargeBlocks.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>

namespace platform {

// The whole large block is mapped at once, twice its size, and trimmed to the aligned
// block inside: only then can the system back it with one large page.
void* AllocateBlock(size_t bytes)
{
    if (bytes != LargeBlockSize)
        return std::malloc(bytes);
    size_t mapped = 2 * LargeBlockSize;
    void* area = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (area == MAP_FAILED)
        return nullptr;
    auto* first = static_cast<char*>(area);
    auto* block = reinterpret_cast<char*>((reinterpret_cast<uintptr_t>(first) + LargeBlockSize - 1) &
                                          ~uintptr_t(LargeBlockSize - 1));
    if (block > first)
        munmap(first, static_cast<size_t>(block - first));
    if (block + LargeBlockSize < first + mapped)
        munmap(block + LargeBlockSize, static_cast<size_t>(first + mapped - block - LargeBlockSize));
#ifdef MADV_HUGEPAGE
    madvise(block, LargeBlockSize, MADV_HUGEPAGE);
#endif
    return block;
}

void FreeBlock(void* block, size_t bytes)
{
    if (bytes != LargeBlockSize)
        std::free(block);
    else if (block)
        munmap(block, LargeBlockSize);
}

}  // namespace platform
