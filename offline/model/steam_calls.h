// What Steam does for each interface method a game uses for stats,
// achievements and leaderboards, whichever face the call came through. Each
// writes the method's call-log line (its flat name, testing/controls/steam_sim.h) and acts
// on the model only when `live`: the call came through one of the face's
// interface objects while the session runs. Otherwise it answers as a dead
// interface does (false, 0 or null).
#pragma once

#include <cstdint>

#include "records.h"

namespace steam_sim::calls {

bool userLoggedOn(bool live);
uint64_t userSteamId(bool live);
uint32_t utilsAppId(bool live);
uint32_t utilsServerRealTime(bool live);
const char* appsCurrentGameLanguage(bool live);
const char* appsAvailableGameLanguages(bool live);
bool appsIsSubscribed(bool live);
bool appsIsSubscribedApp(bool live, uint32_t appId);
const char* friendsPersonaName(bool live);
void friendsActivateGameOverlay(bool live, const char* dialog);
void friendsActivateGameOverlayToUser(bool live, const char* dialog, uint64_t steamId);
void friendsActivateGameOverlayToWebPage(bool live, const char* url, int mode);
void friendsActivateGameOverlayToStore(bool live, uint32_t appId, int flag);

bool statsRequestCurrentStats(bool live);
bool statsGetStatInt32(bool live, const char* name, int32_t* value);
bool statsGetStatFloat(bool live, const char* name, float* value);
bool statsSetStatInt32(bool live, const char* name, int32_t value);
bool statsSetStatFloat(bool live, const char* name, float value);
bool statsUpdateAvgRateStat(bool live, const char* name, float count, double seconds);
bool statsGetAchievement(bool live, const char* name, bool* achieved);
bool statsSetAchievement(bool live, const char* name);
bool statsClearAchievement(bool live, const char* name);
bool statsGetAchievementAndUnlockTime(bool live, const char* name, bool* achieved,
                                      uint32_t* unlockTime);
bool statsStoreStats(bool live);
const char* statsAchievementDisplayAttribute(bool live, const char* name, const char* key);
bool statsIndicateAchievementProgress(bool live, const char* name, uint32_t current,
                                      uint32_t maximum);
uint32_t statsNumAchievements(bool live);
const char* statsAchievementName(bool live, uint32_t index);
bool statsAchievementProgressLimitsInt32(bool live, const char* name, int32_t* minimum,
                                         int32_t* maximum);
bool statsAchievementProgressLimitsFloat(bool live, const char* name, float* minimum,
                                         float* maximum);
bool statsResetAllStats(bool live, bool achievementsToo);
uint64_t statsFindOrCreateLeaderboard(bool live, const char* name, int sortMethod,
                                      int displayType);
uint64_t statsFindLeaderboard(bool live, const char* name);
const char* statsLeaderboardName(bool live, uint64_t board);
int statsLeaderboardEntryCount(bool live, uint64_t board);
int statsLeaderboardSortMethod(bool live, uint64_t board);
int statsLeaderboardDisplayType(bool live, uint64_t board);
uint64_t statsUploadLeaderboardScore(bool live, uint64_t board, int uploadMethod, int32_t score,
                                     const int32_t* details, int detailCount);
uint64_t statsDownloadLeaderboardEntries(bool live, uint64_t board, int request, int rangeStart,
                                         int rangeEnd);
bool statsDownloadedLeaderboardEntry(bool live, uint64_t entries, int index,
                                     LeaderboardEntryRecord* entry, int32_t* details,
                                     int detailsMax);

}  // namespace steam_sim::calls
