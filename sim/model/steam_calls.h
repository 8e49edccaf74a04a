// What Steam does for each interface method on the bridge's paths, whichever
// face the call came through. Each writes the method's call-log line (its flat
// name, sim/steam_sim.h) and acts on the model only when `live`: the call came
// through one of the face's interface objects while the session runs.
// Otherwise it answers as a dead interface does (false, 0 or null).
#pragma once

#include <cstdint>

namespace steam_sim::calls {

bool userLoggedOn(bool live);
uint64_t userSteamId(bool live);
uint32_t utilsAppId(bool live);
const char* appsCurrentGameLanguage(bool live);
const char* appsAvailableGameLanguages(bool live);
void friendsActivateGameOverlay(bool live, const char* dialog);

bool statsRequestCurrentStats(bool live);
bool statsGetStatInt32(bool live, const char* name, int32_t* value);
bool statsGetStatFloat(bool live, const char* name, float* value);
bool statsSetStatInt32(bool live, const char* name, int32_t value);
bool statsSetStatFloat(bool live, const char* name, float value);
bool statsUpdateAvgRateStat(bool live, const char* name, float count, double seconds);
bool statsGetAchievement(bool live, const char* name, bool* achieved);
bool statsSetAchievement(bool live, const char* name);
bool statsGetAchievementAndUnlockTime(bool live, const char* name, bool* achieved,
                                      uint32_t* unlockTime);
bool statsStoreStats(bool live);
const char* statsAchievementDisplayAttribute(bool live, const char* name, const char* key);
bool statsResetAllStats(bool live, bool achievementsToo);
uint64_t statsFindOrCreateLeaderboard(bool live, const char* name, int sortMethod,
                                      int displayType);
uint64_t statsUploadLeaderboardScore(bool live, uint64_t board, int uploadMethod, int32_t score,
                                     const int32_t* details, int detailCount);

}  // namespace steam_sim::calls
