// The one lock that serialises every entry into the simulator.
#pragma once

#include <mutex>

namespace steam_sim {

// Recursive because handlers called during SteamAPI_RunCallbacks call back
// into the simulator on the same thread.
std::recursive_mutex& simMutex();

class SimGuard {
public:
    SimGuard() : lock_(simMutex()) {}

private:
    std::lock_guard<std::recursive_mutex> lock_;
};

}  // namespace steam_sim
