// The simulator-wide lock.
#include "model_lock.h"

namespace offline_steam {

std::recursive_mutex& ModelMutex() {
    // Function-local so it exists before any other static is initialised.
    static std::recursive_mutex mutex;
    return mutex;
}

}  // namespace offline_steam
