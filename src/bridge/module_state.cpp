// The registry itself, plain zero-initialised data with no constructor to
// run, and the objects' memory. Compiled twice: as shipped, and for tests
// with a switch that makes allocations fail (STEAMBRIDGE_ALLOCATION_FAULTS).
#include "bridge/module_state.h"

#include <cstdlib>

namespace steambridge {
namespace {

ModuleState g_module;

#ifdef STEAMBRIDGE_ALLOCATION_FAULTS
int g_successesBeforeFailure = -1;
#endif

}  // namespace

ModuleState& Module() { return g_module; }

void* AllocateObjectMemory(std::size_t size) {
#ifdef STEAMBRIDGE_ALLOCATION_FAULTS
    if (g_successesBeforeFailure == 0) return nullptr;
    if (g_successesBeforeFailure > 0) --g_successesBeforeFailure;
#endif
    return std::malloc(size);
}

void ReleaseObjectMemory(void* memory) { std::free(memory); }

#ifdef STEAMBRIDGE_ALLOCATION_FAULTS
void FailObjectAllocationsAfter(int successes) { g_successesBeforeFailure = successes; }
#endif

}  // namespace steambridge
