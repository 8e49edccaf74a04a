// Client exports that hand out the versioned interface pointers of each profile.
#include "call_line.h"
#include "client_export.h"
#include "interfaces.h"
#include "model_lock.h"

using namespace offline_steam;

namespace {

void* Access(const char* exportName, InterfaceKind kind) {
    ModelGuard guard;
    CallLine(exportName).Log();
    return AccessInterface(kind);
}

}  // namespace

SIM_CLIENT_EXPORT void* SteamAPI_SteamUser_v023() {
    return Access("SteamAPI_SteamUser_v023", InterfaceKind::User);
}

SIM_CLIENT_EXPORT void* SteamAPI_SteamUtils_v010() {
    return Access("SteamAPI_SteamUtils_v010", InterfaceKind::Utils);
}

SIM_CLIENT_EXPORT void* SteamAPI_SteamApps_v008() {
    return Access("SteamAPI_SteamApps_v008", InterfaceKind::Apps);
}

#if STEAM_SIM_PROFILE == 163
SIM_CLIENT_EXPORT void* SteamAPI_SteamUserStats_v013() {
    return Access("SteamAPI_SteamUserStats_v013", InterfaceKind::UserStats);
}

SIM_CLIENT_EXPORT void* SteamAPI_SteamFriends_v018() {
    return Access("SteamAPI_SteamFriends_v018", InterfaceKind::Friends);
}
#else
SIM_CLIENT_EXPORT void* SteamAPI_SteamUserStats_v012() {
    return Access("SteamAPI_SteamUserStats_v012", InterfaceKind::UserStats);
}

SIM_CLIENT_EXPORT void* SteamAPI_SteamFriends_v017() {
    return Access("SteamAPI_SteamFriends_v017", InterfaceKind::Friends);
}
#endif
