// What Steam does for each interface method a game uses for stats,
// achievements and leaderboards, whichever face the call came through. Each
// writes the method's call-log line (its flat name, testing/controls/steam_sim.h) and acts
// on the model only when `live`: the call came through one of the face's
// interface objects while the session runs. Otherwise it answers as a dead
// interface does (false, 0 or null).
#pragma once

#include <cstdint>

#include "records.h"

namespace offline_steam::calls {

bool UserLoggedOn(bool live);
uint64_t UserSteamId(bool live);
uint32_t UtilsAppId(bool live);
uint32_t UtilsServerRealTime(bool live);
const char* AppsCurrentGameLanguage(bool live);
const char* AppsAvailableGameLanguages(bool live);
bool AppsIsSubscribed(bool live);
bool AppsIsSubscribedApp(bool live, uint32_t appId);
const char* FriendsPersonaName(bool live);
void FriendsActivateGameOverlay(bool live, const char* dialog);
void FriendsActivateGameOverlayToUser(bool live, const char* dialog, uint64_t steamId);
void FriendsActivateGameOverlayToWebPage(bool live, const char* url, int mode);
void FriendsActivateGameOverlayToStore(bool live, uint32_t appId, int flag);

bool StatsRequestCurrentStats(bool live);
bool StatsGetStatInt32(bool live, const char* name, int32_t* value);
bool StatsGetStatFloat(bool live, const char* name, float* value);
bool StatsSetStatInt32(bool live, const char* name, int32_t value);
bool StatsSetStatFloat(bool live, const char* name, float value);
bool StatsUpdateAvgRateStat(bool live, const char* name, float count, double seconds);
bool StatsGetAchievement(bool live, const char* name, bool* achieved);
bool StatsSetAchievement(bool live, const char* name);
bool StatsClearAchievement(bool live, const char* name);
bool StatsGetAchievementAndUnlockTime(bool live, const char* name, bool* achieved,
                                      uint32_t* unlockTime);
bool StatsStoreStats(bool live);
const char* StatsAchievementDisplayAttribute(bool live, const char* name, const char* key);
bool StatsIndicateAchievementProgress(bool live, const char* name, uint32_t current,
                                      uint32_t maximum);
uint32_t StatsNumAchievements(bool live);
const char* StatsAchievementName(bool live, uint32_t index);
bool StatsAchievementProgressLimitsInt32(bool live, const char* name, int32_t* minimum,
                                         int32_t* maximum);
bool StatsAchievementProgressLimitsFloat(bool live, const char* name, float* minimum,
                                         float* maximum);
bool StatsResetAllStats(bool live, bool achievementsToo);
uint64_t StatsFindOrCreateLeaderboard(bool live, const char* name, int sortMethod, int displayType);
uint64_t StatsFindLeaderboard(bool live, const char* name);
const char* StatsLeaderboardName(bool live, uint64_t board);
int StatsLeaderboardEntryCount(bool live, uint64_t board);
int StatsLeaderboardSortMethod(bool live, uint64_t board);
int StatsLeaderboardDisplayType(bool live, uint64_t board);
uint64_t StatsUploadLeaderboardScore(bool live, uint64_t board, int uploadMethod, int32_t score,
                                     const int32_t* details, int detailCount);
uint64_t StatsDownloadLeaderboardEntries(bool live, uint64_t board, int request, int rangeStart,
                                         int rangeEnd);
bool StatsDownloadedLeaderboardEntry(bool live, uint64_t entries, int index,
                                     LeaderboardEntryRecord* entry, int32_t* details,
                                     int detailsMax);

}  // namespace offline_steam::calls
