// The client library's operations as the bridge uses them. Each call acts as
// a failure (false, 0, null or nothing) when the library is not bound or an
// accessor gives null, so no caller can crash on a missing interface.
#pragma once

#include <cstdint>

#include "platform/client_functions.h"

namespace steambridge {
namespace client {

// Starts the client API with whichever start function the library has.
bool Start();
void Shutdown();
// Delivers queued callbacks and call results to their holders.
void RunCallbacks();

void RegisterCallback(CCallbackBase* holder, int callbackId);
void UnregisterCallback(CCallbackBase* holder);
void RegisterCallResult(CCallbackBase* holder, SteamAPICall_t call);
void UnregisterCallResult(CCallbackBase* holder, SteamAPICall_t call);

ISteamUser* SteamUser();
ISteamUserStats* SteamUserStats();

bool BLoggedOn();
std::uint64_t GetSteamID();

AppId_t GetAppID();
const char* GetCurrentGameLanguage();
const char* GetAvailableGameLanguages();

bool RequestCurrentStats();
bool GetStat(const char* name, std::int32_t* value);
bool GetStat(const char* name, float* value);
bool SetStat(const char* name, std::int32_t value);
bool SetStat(const char* name, float value);
bool UpdateAvgRateStat(const char* name, float countThisSession, double sessionLength);
bool SetAchievement(const char* name);
bool GetAchievementAndUnlockTime(const char* name, bool* achieved, std::uint32_t* unlockTime);
bool StoreStats();
const char* GetAchievementDisplayAttribute(const char* name, const char* key);
bool ResetAllStats(bool achievementsToo);
SteamAPICall_t FindOrCreateLeaderboard(const char* name, ELeaderboardSortMethod sortMethod,
                                       ELeaderboardDisplayType displayType);
SteamAPICall_t UploadLeaderboardScore(SteamLeaderboard_t board,
                                      ELeaderboardUploadScoreMethod method, std::int32_t score,
                                      const std::int32_t* details, int detailCount);

void ActivateGameOverlay(const char* dialog);

}  // namespace client
}  // namespace steambridge
