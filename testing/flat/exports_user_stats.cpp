// Client exports of ISteamUserStats: stats, achievements and leaderboards.
#include <cstdint>

#include "client_export.h"
#include "interfaces.h"
#include "steam_calls.h"

using namespace offline_steam;

namespace {

bool Live(void* self) { return IsLiveInterface(self, InterfaceKind::UserStats); }

}  // namespace

#if SIM_HAS_REQUEST_CURRENT_STATS
SIM_CLIENT_EXPORT bool SteamAPI_ISteamUserStats_RequestCurrentStats(void* self) {
    return calls::StatsRequestCurrentStats(Live(self));
}
#endif

SIM_CLIENT_EXPORT bool SteamAPI_ISteamUserStats_GetStatInt32(void* self, const char* name,
                                                             int32_t* value) {
    return calls::StatsGetStatInt32(Live(self), name, value);
}

SIM_CLIENT_EXPORT bool SteamAPI_ISteamUserStats_GetStatFloat(void* self, const char* name,
                                                             float* value) {
    return calls::StatsGetStatFloat(Live(self), name, value);
}

SIM_CLIENT_EXPORT bool SteamAPI_ISteamUserStats_SetStatInt32(void* self, const char* name,
                                                             int32_t value) {
    return calls::StatsSetStatInt32(Live(self), name, value);
}

SIM_CLIENT_EXPORT bool SteamAPI_ISteamUserStats_SetStatFloat(void* self, const char* name,
                                                             float value) {
    return calls::StatsSetStatFloat(Live(self), name, value);
}

SIM_CLIENT_EXPORT bool SteamAPI_ISteamUserStats_UpdateAvgRateStat(void* self, const char* name,
                                                                  float count, double seconds) {
    return calls::StatsUpdateAvgRateStat(Live(self), name, count, seconds);
}

SIM_CLIENT_EXPORT bool SteamAPI_ISteamUserStats_SetAchievement(void* self, const char* name) {
    return calls::StatsSetAchievement(Live(self), name);
}

SIM_CLIENT_EXPORT bool SteamAPI_ISteamUserStats_GetAchievementAndUnlockTime(void* self,
                                                                            const char* name,
                                                                            bool* achieved,
                                                                            uint32_t* unlockTime) {
    return calls::StatsGetAchievementAndUnlockTime(Live(self), name, achieved, unlockTime);
}

#if SIM_HAS_STORE_STATS
SIM_CLIENT_EXPORT bool SteamAPI_ISteamUserStats_StoreStats(void* self) {
    return calls::StatsStoreStats(Live(self));
}
#endif

SIM_CLIENT_EXPORT const char* SteamAPI_ISteamUserStats_GetAchievementDisplayAttribute(
    void* self, const char* name, const char* key) {
    return calls::StatsAchievementDisplayAttribute(Live(self), name, key);
}

SIM_CLIENT_EXPORT bool SteamAPI_ISteamUserStats_ResetAllStats(void* self, bool achievementsToo) {
    return calls::StatsResetAllStats(Live(self), achievementsToo);
}

SIM_CLIENT_EXPORT uint64_t SteamAPI_ISteamUserStats_FindOrCreateLeaderboard(void* self,
                                                                            const char* name,
                                                                            int sortMethod,
                                                                            int displayType) {
    return calls::StatsFindOrCreateLeaderboard(Live(self), name, sortMethod, displayType);
}

SIM_CLIENT_EXPORT uint64_t SteamAPI_ISteamUserStats_UploadLeaderboardScore(
    void* self, uint64_t board, int uploadMethod, int32_t score, const int32_t* details,
    int detailCount) {
    return calls::StatsUploadLeaderboardScore(Live(self), board, uploadMethod, score, details,
                                              detailCount);
}
