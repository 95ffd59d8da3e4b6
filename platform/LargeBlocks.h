#pragma once

#include <cstddef>

namespace platform {

// Memory for a large array filled once and then read through, like the rows of a big
// data set. A block of LargeBlockSize bytes is aligned to its size and offered to the
// system for large pages where it has them: a million rows then cost a dozen page
// faults instead of thousands. Smaller blocks are plain heap blocks. Null when there is
// no memory; a block is freed with the size it was asked with.
constexpr size_t LargeBlockSize = size_t(2) << 20;

void* AllocateBlock(size_t bytes);
void FreeBlock(void* block, size_t bytes);

}  // namespace platform
