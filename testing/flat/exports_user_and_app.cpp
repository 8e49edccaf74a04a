// Client exports of ISteamUser, ISteamUtils, ISteamApps and ISteamFriends.
#include <cstdint>

#include "client_export.h"
#include "interfaces.h"
#include "steam_calls.h"

using namespace steam_sim;

SIM_CLIENT_EXPORT bool SteamAPI_ISteamUser_BLoggedOn(void* self) {
    return calls::userLoggedOn(isLiveInterface(self, InterfaceKind::User));
}

SIM_CLIENT_EXPORT uint64_t SteamAPI_ISteamUser_GetSteamID(void* self) {
    return calls::userSteamId(isLiveInterface(self, InterfaceKind::User));
}

SIM_CLIENT_EXPORT uint32_t SteamAPI_ISteamUtils_GetAppID(void* self) {
    return calls::utilsAppId(isLiveInterface(self, InterfaceKind::Utils));
}

SIM_CLIENT_EXPORT const char* SteamAPI_ISteamApps_GetCurrentGameLanguage(void* self) {
    return calls::appsCurrentGameLanguage(isLiveInterface(self, InterfaceKind::Apps));
}

SIM_CLIENT_EXPORT const char* SteamAPI_ISteamApps_GetAvailableGameLanguages(void* self) {
    return calls::appsAvailableGameLanguages(isLiveInterface(self, InterfaceKind::Apps));
}

SIM_CLIENT_EXPORT void SteamAPI_ISteamFriends_ActivateGameOverlay(void* self, const char* dialog) {
    calls::friendsActivateGameOverlay(isLiveInterface(self, InterfaceKind::Friends), dialog);
}
