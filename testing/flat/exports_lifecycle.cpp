// Client exports that start and stop the session and pump callbacks.
#include <cstdio>
#include <cstring>

#include "call_line.h"
#include "callback_registry.h"
#include "client_export.h"
#include "delivery.h"
#include "interfaces.h"
#include "model_lock.h"
#include "session_lifecycle.h"

using namespace offline_steam;

#if SIM_HAS_LEGACY_INIT
SIM_CLIENT_EXPORT bool SteamAPI_Init() {
    ModelGuard guard;
    CallLine("SteamAPI_Init").Log();
    return !StartMeetsRefusedInterface() && StartSession();
}
#endif

namespace {

constexpr std::size_t kStartErrorBufferSize = 1024;
constexpr int kStartFailed = 1;

// The start result of the newer forms: 0 when started, else an error text.
[[maybe_unused]] int StartWithErrorText(char* errorMessage) {
    const bool versionMissing = StartMeetsRefusedInterface();
    if (!versionMissing && StartSession()) return 0;
    if (errorMessage != nullptr) {
        std::snprintf(errorMessage, kStartErrorBufferSize, "%s",
                      versionMissing
                          ? "The Steam client lacks an interface version this library needs."
                          : "Failed to connect to the Steam client (the simulator is set to "
                            "refuse the start).");
    }
    return kStartFailed;
}

}  // namespace

#if SIM_HAS_INTERNAL_INIT
// `versions` lists interface names to check, each NUL-terminated, ended by an
// empty one; only a refused interface counts as missing.
SIM_CLIENT_EXPORT int SteamInternal_SteamAPI_Init(const char* versions, char* errorMessage) {
    ModelGuard guard;
    CallLine line("SteamInternal_SteamAPI_Init");
    int listed = 0;
    for (const char* name = versions; name != nullptr && *name != '\0';
         name += std::strlen(name) + 1)
        ++listed;
    line.Integer(listed).Log();
    return StartWithErrorText(errorMessage);
}
#endif

#if SIM_HAS_FLAT_INIT
SIM_CLIENT_EXPORT int SteamAPI_InitFlat(char* errorMessage) {
    ModelGuard guard;
    CallLine("SteamAPI_InitFlat").Log();
    return StartWithErrorText(errorMessage);
}
#endif

SIM_CLIENT_EXPORT bool SteamAPI_InitSafe() {
    ModelGuard guard;
    CallLine("SteamAPI_InitSafe").Log();
    return !StartMeetsRefusedInterface() && StartSession();
}

SIM_CLIENT_EXPORT void SteamAPI_Shutdown() {
    ModelGuard guard;
    CallLine("SteamAPI_Shutdown").Log();
    StopSession();
    ShutdownCallbackRegistry();
}

SIM_CLIENT_EXPORT void SteamAPI_RunCallbacks() {
    ModelGuard guard;
    CallLine("SteamAPI_RunCallbacks").Log();
    RunCallbackFrame();
}
