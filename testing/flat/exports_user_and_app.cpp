// Client exports of ISteamUser, ISteamUtils, ISteamApps and ISteamFriends.
#include <cstdint>

#include "client_export.h"
#include "interfaces.h"
#include "steam_calls.h"

using namespace offline_steam;

SIM_CLIENT_EXPORT bool SteamAPI_ISteamUser_BLoggedOn(void* self) {
    return calls::UserLoggedOn(IsLiveInterface(self, InterfaceKind::User));
}

SIM_CLIENT_EXPORT uint64_t SteamAPI_ISteamUser_GetSteamID(void* self) {
    return calls::UserSteamId(IsLiveInterface(self, InterfaceKind::User));
}

SIM_CLIENT_EXPORT uint32_t SteamAPI_ISteamUtils_GetAppID(void* self) {
    return calls::UtilsAppId(IsLiveInterface(self, InterfaceKind::Utils));
}

SIM_CLIENT_EXPORT const char* SteamAPI_ISteamApps_GetCurrentGameLanguage(void* self) {
    return calls::AppsCurrentGameLanguage(IsLiveInterface(self, InterfaceKind::Apps));
}

SIM_CLIENT_EXPORT const char* SteamAPI_ISteamApps_GetAvailableGameLanguages(void* self) {
    return calls::AppsAvailableGameLanguages(IsLiveInterface(self, InterfaceKind::Apps));
}

SIM_CLIENT_EXPORT void SteamAPI_ISteamFriends_ActivateGameOverlay(void* self, const char* dialog) {
    calls::FriendsActivateGameOverlay(IsLiveInterface(self, InterfaceKind::Friends), dialog);
}
