#pragma once

#include <cstdint>

namespace platform {
// The bytes of memory the system can still give this process without swapping; 0 when
// it cannot tell.
uint64_t AvailableMemory();
}  // namespace platform
