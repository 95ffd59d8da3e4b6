#pragma once

// Every allocation of the benchmark process so far (counted in ToolkitBench.cpp, which
// replaces malloc, calloc and realloc); stays 0 under AddressSanitizer.
long AllocationsSoFar();
