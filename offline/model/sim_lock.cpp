// The simulator-wide lock.
#include "sim_lock.h"

namespace steam_sim {

std::recursive_mutex& simMutex() {
    // Function-local so it exists before any other static is initialised.
    static std::recursive_mutex mutex;
    return mutex;
}

}  // namespace steam_sim
