#include "platform/LargeBlocks.h"

#include <cstdlib>

namespace platform {

// Large pages on Windows need a privilege users do not hold: every block is a heap block.
void* AllocateBlock(size_t bytes) { return std::malloc(bytes); }

void FreeBlock(void* block, size_t) { std::free(block); }

}  // namespace platform
