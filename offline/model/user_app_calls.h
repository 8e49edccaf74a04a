// What Steam answers about the app (its DLC, build, branch, folder, licence),
// the user (level, friends, rich presence) and the computer (ISteamUtils),
// from the scenario. Like steam_calls.h: each writes the method's call-log
// line under its flat name and acts on the model only when `live`; a dead
// interface answers false, 0 or an empty text (never null where Valve's
// header promises a text).
#pragma once

#include <cstdint>

#include "call_results.h"

namespace offline_steam {

// The user owns `appId`: the game itself, or one of its DLC that the
// scenario says is owned.
bool UserOwnsApp(uint32_t appId);

}  // namespace offline_steam

namespace offline_steam::calls {

// ---- ISteamApps
bool AppsIsDlcInstalled(bool live, uint32_t appId);
int AppsDlcCount(bool live);
// Writes at most `nameSize` bytes of the name, always terminated; null outputs are skipped.
bool AppsDlcDataByIndex(bool live, int index, uint32_t* appId, bool* available, char* name,
                        int nameSize);
uint64_t AppsAppOwner(bool live);
int AppsAppBuildId(bool live);
bool AppsCurrentBetaName(bool live, char* name, int nameSize);
bool AppsIsSubscribedFromFreeWeekend(bool live);
bool AppsIsVacBanned(bool live);
const char* AppsLaunchQueryParam(bool live, const char* key);
// The bytes of the folder's name copied (without the terminator), 0 for an
// app that is not installed or no buffer.
uint32_t AppsAppInstallDir(bool live, uint32_t appId, char* folder, uint32_t folderSize);
uint32_t AppsEarliestPurchaseUnixTime(bool live, uint32_t appId);

// ---- ISteamUser
int UserPlayerSteamLevel(bool live);
// EUserHasLicenseForAppResult: 0 has it, 1 has not, 2 not authenticated (another user).
int UserHasLicenseForApp(bool live, uint64_t steamId, uint32_t appId);

// ---- ISteamFriends
int FriendsPersonaState(bool live);
int FriendsFriendCount(bool live, int flags);
uint64_t FriendsFriendByIndex(bool live, int index, int flags);
const char* FriendsFriendPersonaName(bool live, uint64_t steamId);
int FriendsFriendPersonaState(bool live, uint64_t steamId);
int FriendsFriendSteamLevel(bool live, uint64_t steamId);
bool FriendsHasFriend(bool live, uint64_t steamId, int flags);
bool FriendsSetRichPresence(bool live, const char* key, const char* value);
void FriendsClearRichPresence(bool live);
const char* FriendsFriendRichPresence(bool live, uint64_t steamId, const char* key);
int FriendsFriendRichPresenceKeyCount(bool live, uint64_t steamId);
const char* FriendsFriendRichPresenceKeyByIndex(bool live, uint64_t steamId, int index);

// ---- ISteamUtils
const char* UtilsSteamUiLanguage(bool live);
bool UtilsIsOverlayEnabled(bool live);
const char* UtilsIpCountry(bool live);
uint32_t UtilsSecondsSinceAppActive(bool live);
uint32_t UtilsSecondsSinceComputerActive(bool live);
bool UtilsIsSteamRunningOnSteamDeck(bool live);
bool UtilsIsSteamInBigPictureMode(bool live);
uint8_t UtilsCurrentBatteryPower(bool live);
int UtilsConnectedUniverse(bool live);
// Polling a call result (TheFinishedCalls()), read once as Steam_GetAPICallResult reads it.
bool UtilsIsApiCallCompleted(bool live, uint64_t call, bool* failed);
CallFailure UtilsApiCallFailureReason(bool live, uint64_t call);
bool UtilsApiCallResult(bool live, uint64_t call, void* buffer, int size, int expectedCallbackId,
                        bool* failed);

}  // namespace offline_steam::calls
