// Client exports of ISteamUser, ISteamUtils, ISteamApps and ISteamFriends.
#include <cstdint>

#include "call_line.h"
#include "client_export.h"
#include "interfaces.h"
#include "session.h"
#include "sim_lock.h"

using namespace steam_sim;

SIM_CLIENT_EXPORT bool SteamAPI_ISteamUser_BLoggedOn(void* self) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUser_BLoggedOn").log();
    return isLiveInterface(self, InterfaceKind::User) && session().loggedOn();
}

SIM_CLIENT_EXPORT uint64_t SteamAPI_ISteamUser_GetSteamID(void* self) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUser_GetSteamID").log();
    return isLiveInterface(self, InterfaceKind::User) ? session().userId() : 0;
}

SIM_CLIENT_EXPORT uint32_t SteamAPI_ISteamUtils_GetAppID(void* self) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUtils_GetAppID").log();
    return isLiveInterface(self, InterfaceKind::Utils) ? session().appId() : 0;
}

SIM_CLIENT_EXPORT const char* SteamAPI_ISteamApps_GetCurrentGameLanguage(void* self) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamApps_GetCurrentGameLanguage").log();
    return isLiveInterface(self, InterfaceKind::Apps) ? session().currentLanguage() : nullptr;
}

SIM_CLIENT_EXPORT const char* SteamAPI_ISteamApps_GetAvailableGameLanguages(void* self) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamApps_GetAvailableGameLanguages").log();
    return isLiveInterface(self, InterfaceKind::Apps) ? session().availableLanguages() : nullptr;
}

SIM_CLIENT_EXPORT void SteamAPI_ISteamFriends_ActivateGameOverlay(void* self, const char* dialog) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamFriends_ActivateGameOverlay").text(dialog).log();
    if (isLiveInterface(self, InterfaceKind::Friends) && dialog != nullptr)
        session().setLastOverlayDialog(dialog);
}
