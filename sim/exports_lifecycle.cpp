// Client exports that start and stop the session and pump callbacks.
#include <cstdio>

#include "call_line.h"
#include "client_export.h"
#include "delivery.h"
#include "session_lifecycle.h"
#include "sim_lock.h"

using namespace steam_sim;

#if SIM_HAS_LEGACY_INIT
SIM_CLIENT_EXPORT bool SteamAPI_Init() {
    SimGuard guard;
    CallLine("SteamAPI_Init").log();
    return startSession();
}
#endif

#if SIM_HAS_FLAT_INIT
namespace {

constexpr std::size_t kStartErrorBufferSize = 1024;
constexpr int kStartFailed = 1;

}  // namespace

SIM_CLIENT_EXPORT int SteamAPI_InitFlat(char* errorMessage) {
    SimGuard guard;
    CallLine("SteamAPI_InitFlat").log();
    if (startSession()) return 0;
    if (errorMessage != nullptr) {
        std::snprintf(
            errorMessage, kStartErrorBufferSize, "%s",
            "Failed to connect to the Steam client (the simulator is set to refuse the start).");
    }
    return kStartFailed;
}
#endif

SIM_CLIENT_EXPORT bool SteamAPI_InitSafe() {
    SimGuard guard;
    CallLine("SteamAPI_InitSafe").log();
    return startSession();
}

SIM_CLIENT_EXPORT void SteamAPI_Shutdown() {
    SimGuard guard;
    CallLine("SteamAPI_Shutdown").log();
    stopSession();
}

SIM_CLIENT_EXPORT void SteamAPI_RunCallbacks() {
    SimGuard guard;
    CallLine("SteamAPI_RunCallbacks").log();
    runCallbackFrame();
}
