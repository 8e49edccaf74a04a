// The simulator-wide lock.
#include "model_lock.h"

namespace offline_steam {

std::recursive_mutex& ModelMutex() {
    // Function-local so it exists before any other static is initialised, and
    // never destroyed: a thread may still call Steam while the process exits.
    static std::recursive_mutex& mutex = *new std::recursive_mutex;
    return mutex;
}

}  // namespace offline_steam
