// The one lock that serialises every entry into the simulator.
#pragma once

#include <mutex>

namespace offline_steam {

// Recursive because handlers called during SteamAPI_RunCallbacks call back
// into the simulator on the same thread.
std::recursive_mutex& ModelMutex();

class ModelGuard {
public:
    ModelGuard() : lock_(ModelMutex()) {}

private:
    std::lock_guard<std::recursive_mutex> lock_;
};

}  // namespace offline_steam
