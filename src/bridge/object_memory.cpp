// Allocation of the bridge's own objects, with a fault switch for tests.
#include "bridge/object_memory.h"

#include <cstdlib>

namespace steambridge {
namespace {

int g_successesBeforeFailure = -1;

}  // namespace

void* AllocateObjectMemory(std::size_t size) {
    if (g_successesBeforeFailure == 0) return nullptr;
    if (g_successesBeforeFailure > 0) --g_successesBeforeFailure;
    return std::malloc(size);
}

void ReleaseObjectMemory(void* memory) { std::free(memory); }

void FailObjectAllocationsAfter(int successes) { g_successesBeforeFailure = successes; }

}  // namespace steambridge
