// Process-wide count of heap allocations, kept by the replaced allocator in allocation_counter.cpp.
#pragma once

#include <cstdint>

namespace bench {

// Allocations (malloc, calloc, realloc, aligned forms, every operator new)
// made by anyone in the process since it started.
std::uint64_t AllocationCount();

}  // namespace bench
